// Tagged exports: the grammars (records and their (tag, value) pairs as each layout writes
// them, awkward cases included, the records' places in the text, and detection, whose count
// must equal the records the cursor reads); tag maps over sample exports written from the
// formats' public descriptions (the ready-made maps fill every field cleanly, and a layout
// no map knows gets a proposal the user can turn into a map); and saved tag maps in the
// labels file, with their dialogues' exact words, names holding a quote, the ready-made
// maps' names kept free, and a labels file written before tag maps existed.

#include "entry/LabelSets.h"
#include "formats/FormatDetection.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TagMapProposal.h"
#include "formats/TagMapStore.h"
#include "formats/TaggedRecordCursor.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QTest>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

using Row = std::array<QString, ColumnCount>;

QString dataPath(const QString& leaf)
{
    return QStringLiteral(PAPYRANT_SOURCE_DIR "/tests/formats/data/") + leaf;
}

QString fileText(const QString& leaf)
{
    QFile file(dataPath(leaf));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::vector<Row> mapped(const QString& text, TaggedFormat format, const TagMap& map)
{
    std::vector<Row> rows;
    TaggedRecordCursor cursor(text, format);
    TaggedRecord record;
    while (cursor.next(record)) {
        Row row;
        mapTaggedRecord(map, record, row);
        rows.push_back(row);
    }
    return rows;
}

// Each record as "TAG=value|TAG=value", and its text in the file.
struct Reading {
    QStringList records;
    QStringList texts;
};

Reading readAll(const QString& text, TaggedFormat format)
{
    Reading reading;
    TaggedRecordCursor cursor(text, format);
    TaggedRecord record;
    while (cursor.next(record)) {
        QStringList pairs;
        for (const TagValue& field : record.fields)
            pairs << field.tag + u'=' + field.value;
        reading.records << pairs.join(u'|');
        reading.texts << text.mid(record.start, record.end - record.start);
    }
    return reading;
}

TagMap sampleMap()
{
    TagMap map = *readyTagMap(TaggedFormat::Ris);
    map.name = u"My RIS"_s;
    map.rule(TagTarget::Keywords) = ruleFromText(u"KW + DE"_s);
    return map;
}

} // namespace

class TagMapsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    TagMapStore store() { return TagMapStore(*m_prompts, m_path); }
    void saveAs(const QString& name)
    {
        m_prompts->answerInput(name);
        QCOMPARE(store().save(sampleMap()).result, LabelChange::Done);
    }
    QString lastBox() const { return describe(m_prompts->asked().back()); }

private slots:
    // Titles, authors, years and journals are compared with independent readers' where the
    // auto-extract screen stores these files (tst_EntryScreens); here, the other fields.
    void readyMapsFillEveryField_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        const auto add = [](const char* leaf, int record, int column, const QString& value) {
            QTest::addRow("%s %d %s", leaf, record, qPrintable(columnName(column)))
                << QString::fromLatin1(leaf) << record << column << value;
        };
        const char* medline = "awkward.nbib";
        add(medline, 0, Source, u"J Soil Ecol. 2019 Feb;41(2):211-224."_s);
        add(medline, 0, Keywords, u"Carbon/*analysis; Grassland; Soil/*chemistry; land use"_s);
        add(medline, 0, Abstract,
            u"Soil organic carbon was measured on forty paired plots under grassland and arable use. Grassland plots "
            "held on average 18% more carbon in the upper 30 cm."_s);
        add(medline, 1, Author_address,
            u"Department of Botany, University of Coimbra, Coimbra, Portugal.; Institute of Botany, Academy of "
            "Sciences, Pruhonice, Czech Republic.; Department of Ecology, Charles University, Prague, Czech Republic."_s);
        add(medline, 1, Language, u"German; English"_s);
        add(medline, 1, Abstract, EmptyFieldMarker);
        add(medline, 2, Authors, u"Silva R; Rocha T; Tanaka H"_s);
        add(medline, 3, Publication_type, u"Journal Article; Meta-Analysis; Research Support, N.I.H., Extramural"_s);
        add(medline, 3, Publishing_year, u"2024"_s);
        const char* ris = "awkward.ris";
        add(ris, 0, Source, u"Journal of Soil Ecology. 2019;41(2):211-224"_s);
        add(ris, 2, Source, u"Soil Reports. 2021;(7)"_s);
        add(ris, 4, Publication_type, u"Book Section"_s);
        add(ris, 4, Keywords, EmptyFieldMarker);
        add(ris, 6, Source, EmptyFieldMarker);
        const char* isi = "awkward.isi";
        add(isi, 0, Author_address,
            u"[Muller, Jorg; Lund, Karl] Agr Univ, Dept Soil & Environm, Uppsala, Sweden.; [Ahmed, Sara] Univ Oslo, "
            "Inst Ecol, Oslo, Norway."_s);
        add(isi, 0, Keywords, u"soil organic carbon; grassland; land use; MATTER; NITROGEN; STOCKS"_s);
        add(isi, 0, Source, u"JOURNAL OF SOIL ECOLOGY. 2019;41(2):211-224"_s);
        add(isi, 3, Publication_type, u"Book Chapter"_s);
    }
    void readyMapsFillEveryField()
    {
        QFETCH(QString, leaf);
        QFETCH(int, record);
        QFETCH(int, column);
        QFETCH(QString, value);
        const QString text = fileText(leaf);
        const TaggedFormat format = detectTaggedFormat(text).format;
        QCOMPARE(mapped(text, format, *readyTagMap(format)).at(record)[column], value);
    }

    void unknownLayoutGetsAProposal()
    {
        const QString text = fileText(u"unknown.txt"_s);
        const FormatDetection detection = detectTaggedFormat(text);
        QCOMPARE(detectionSummary(detection), u"Tagged text (Label: value): 4 records"_s);
        std::vector<TagUse> uses = proposeTagMap(text, detection.format);
        QStringList shown;
        for (const TagUse& use : uses)
            shown << u"%1|%2|%3|%4|%5"_s.arg(use.tag)
                         .arg(use.values)
                         .arg(use.records)
                         .arg(use.sample.left(20), tagTargetName(use.target));
        QCOMPARE(shown,
            (QStringList{u"Kennung|4|4|1001|(not used)"_s, u"Werk|4|4|Soil organic carbon |Title"_s,
                u"Beteiligte|9|4|Müller, Jörg|Authors"_s, u"Erschienen|4|4|2019|Publishing year"_s,
                u"Quelle|4|4|Journal of Soil Ecol|(not used)"_s, u"Art|4|4|Journal Article|Publication type"_s,
                u"Sprache|4|4|English|Language"_s, u"Schlagwort|7|4|soil|Key words"_s,
                u"Inhalt|4|4|Soil organic carbon |Abstract"_s}));
        // The user sends Quelle to the source in the dialog.
        uses[4].target = TagTarget::Source;
        const Row row = mapped(text, detection.format, tagMapFromUses(uses, detection.format)).at(1);
        QCOMPARE(row[Title], u"Nitrogen deposition shifts root traits in alpine meadows"_s);
        QCOMPARE(row[Authors], u"Costa, Maria; Novak, Petr; Huber, Eva"_s);
        QCOMPARE(row[Source], u"Alpine Ecology 188(4)"_s);
        QCOMPARE(row[Keywords], u"soil; roots"_s);
        QCOMPARE(row[Language], u"German"_s);
        QVERIFY(row[Abstract].startsWith(u"Root traits of six alpine species"_s));
        QVERIFY(row[Abstract].endsWith(u"root tissue density rose, and the response was strongest in the grasses of "
                                       "the wettest sites of the transect."_s));
    }

    void proposalForAKnownFormatFollowsItsReadyMap()
    {
        for (const QString& leaf : {u"awkward.ris"_s, u"awkward.nbib"_s, u"awkward.isi"_s}) {
            const QString text = fileText(leaf);
            const TaggedFormat format = detectTaggedFormat(text).format;
            const TagMap proposed = tagMapFromUses(proposeTagMap(text, format), format);
            const auto ready = mapped(text, format, *readyTagMap(format));
            QVERIFY2(mapped(text, format, proposed) == ready, qPrintable(leaf));
        }
    }

    void readsRecordsByTags_data()
    {
        QTest::addColumn<TaggedFormat>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("records");

        row("MEDLINE: continuation lines, blank lines between records, header", TaggedFormat::Medline,
            u"\nSearch: soil\nPMID- 1\nTI  - A title\n      continued\nAB  - x\nAD  - Dept\nFAU - Berg, A\nOTO - "
            "NOTNLM\nAB  -\n\nstray line\nPMID- 2\nTI  - B\n"_s,
            QStringList{u"PMID=1|TI=A title continued|AB=x|AD=Dept|FAU=Berg, A|OTO=NOTNLM|AB="_s, u"PMID=2|TI=B"_s});
        row("MEDLINE: CR LF, no blank line before the next record, no final line break", TaggedFormat::Medline,
            u"PMID- 1\r\nTI  - T\r\n      more\r\nPMID- 2\r\nTI  - U"_s,
            QStringList{u"PMID=1|TI=T more"_s, u"PMID=2|TI=U"_s});
        row("RIS: BOM, CR LF, one blank, small letters, empty values, lines without tag", TaggedFormat::Ris,
            u"\uFEFFProvider: X\r\n\r\nTY  - JOUR\r\nti - Lower\r\nAB  - first line\r\nsecond line\r\n\r\nKW  "
            "-\r\nAU  -Smith\r\nER  -\r\nnoise\r\nTY  - BOOK\r\nT1  - Last\r\n"_s,
            QStringList{u"TY=JOUR|TI=Lower|AB=first line second line|KW=AU  -Smith"_s, u"TY=BOOK|T1=Last"_s});
        row("RIS: a record without ER ends at the next TY; the last ends in a value", TaggedFormat::Ris,
            u"TY  - JOUR\nTI  - A\nTY  - JOUR\nTI  - B\nER  - \n\nTY  - GEN\nAB  - cut off in th"_s,
            QStringList{u"TY=JOUR|TI=A"_s, u"TY=JOUR|TI=B"_s, u"TY=GEN|AB=cut off in th"_s});
        row("Web of Science: lists, text, header, a record without ER, a second export after EF",
            TaggedFormat::WebOfScience,
            u"FN Clarivate\nVR 1.0\nPT J\nAU Berg, A\n   Lund, K\nTI A long\n   title\nC1 Univ A.\n   Univ B.\nC1 "
            "Univ C.\nER\n\nPT J\nTI Second\nPT B\nTI Third\nER\nEF\nFN Clarivate\nVR 1.0\nPT J\nTI Fourth\nER\nEF\n"_s,
            QStringList{u"PT=J|AU=Berg, A|AU=Lund, K|TI=A long title|C1=Univ A.|C1=Univ B.|C1=Univ C."_s,
                u"PT=J|TI=Second"_s, u"PT=B|TI=Third"_s, u"PT=J|TI=Fourth"_s});
        row("Refer", TaggedFormat::Refer,
            u"%0 Journal Article\n%A Berg, A.\n%A Lund, K.\n%T Title\n  continued\n\n%0 Book\n%T Other"_s,
            QStringList{u"%0=Journal Article|%A=Berg, A.|%A=Lund, K.|%T=Title continued"_s, u"%0=Book|%T=Other"_s});
        row("Label: value, separator lines between records", TaggedFormat::ColonTags,
            u"Record 1 of 2\nTitle: A\nPublication Year:\nAbstract: one\ntwo, see http://x.org\n\nRecord 2 of 2\n\nTitle: C\n"_s,
            QStringList{u"Title=A|Publication Year=|Abstract=one two, see http://x.org"_s, u"Title=C"_s});
        row("TAG - value", TaggedFormat::DashTags, u"TI - A\nAU  - B\n\nTI - C\nAU- D"_s,
            QStringList{u"TI=A|AU=B"_s, u"TI=C|AU=D"_s});
    }
    void readsRecordsByTags()
    {
        QFETCH(TaggedFormat, format);
        QFETCH(QString, text);
        QFETCH(QStringList, records);
        const Reading reading = readAll(text, format);
        QCOMPARE(reading.records, records);
        // Each record's text is a piece of the export from its first tag on, in order.
        qsizetype at = 0;
        for (qsizetype i = 0; i < reading.texts.size(); ++i) {
            at = text.indexOf(reading.texts[i], at);
            QVERIFY(at >= 0 && reading.texts[i].startsWith(records[i].section(u'=', 0, 0)));
            at += reading.texts[i].size();
        }
        QCOMPARE(detectTaggedFormat(text).records, reading.records.size());
    }

    void aHugeValueIsReadWhole()
    {
        const QString abstract(10 * 1024 * 1024, u'x');
        const QString text = u"TY  - JOUR\nTI  - T\nAB  - "_s + abstract + u"\nER  - \nTY  - JOUR\nTI  - U\n"_s;
        TaggedRecordCursor cursor(text, TaggedFormat::Ris);
        TaggedRecord record;
        QVERIFY(cursor.next(record));
        QCOMPARE(record.fields.size(), 3u);
        QVERIFY(record.fields[2].value == abstract);
        QVERIFY(cursor.next(record));
        QCOMPARE(record.fields.back().value, u"U"_s);
        QVERIFY(!cursor.next(record));
        QCOMPARE(cursor.position(), text.size());
    }

    void detectsTheLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TaggedFormat>("format");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("summary");
        row("RIS sample", fileText(u"awkward.ris"_s), TaggedFormat::Ris, 7, u"RIS export: 7 records"_s);
        row("MEDLINE sample", fileText(u"awkward.nbib"_s), TaggedFormat::Medline, 4, u"MEDLINE export: 4 records"_s);
        row("Web of Science sample", fileText(u"awkward.isi"_s), TaggedFormat::WebOfScience, 4,
            u"Web of Science export: 4 records"_s);
        row("RIS tags without TY", u"TI  - x\nAU  - y\n\nTI  - z\nAU  - w\n"_s, TaggedFormat::DashTags, 2,
            u"Tagged text (TAG - value): 2 records"_s);
        row("one labelled record", u"Title: x\nAuthor: y\n"_s, TaggedFormat::ColonTags, 1,
            u"Tagged text (Label: value): 1 record"_s);
        row("prose", u"IT was late.\nNote: see below.\nER\nThe end.\n"_s, TaggedFormat::None, 0,
            u"No tags of a known layout"_s);
        row("empty", QString(), TaggedFormat::None, 0, u"No tags of a known layout"_s);
    }
    void detectsTheLayout()
    {
        QFETCH(QString, text);
        QVERIFY(!text.isNull() || QTest::currentDataTag() == QByteArray("empty"));
        QFETCH(TaggedFormat, format);
        QFETCH(int, records);
        QFETCH(QString, summary);
        const FormatDetection detection = detectTaggedFormat(text);
        QCOMPARE(detection.format, format);
        QCOMPARE(detection.records, records);
        QCOMPARE(detectionSummary(detection), summary);
        if (detection.format != TaggedFormat::None)
            QCOMPARE(readAll(text, detection.format).records.size(), detection.records);
    }

    void init()
    {
        m_prompts.reset();
        m_folder.reset();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_folder = std::make_unique<TestProgramFolder>();
        m_path = m_folder->filePath(u"VarEdoAbb"_s);
    }

    void savedMapLoadsBackUnderAnyName()
    {
        QCOMPARE(*store().names(), QStringList()); // the shipped file holds no saved map
        saveAs(u"Crohn's map"_s);
        QCOMPARE(lastBox(), u"New tag map|Please type the name of the new tag map|input:My RIS"_s);
        QCOMPARE(readLines(m_path, u"SELECT Name, Format, Title, Keywords, First_page FROM tagmaps"_s),
            QStringList{u"Crohn's map|RIS|TI | T1 | CT|KW + DE|SP"_s});
        TagMap expected = sampleMap();
        expected.name = u"Crohn's map"_s;
        QCOMPARE(*store().load(u"CROHN'S MAP"_s), expected);

        m_prompts->answerInput(u"Web of Science"_s); // a ready-made map's name
        m_prompts->answerInput(u"Crohn's map"_s); // taken
        m_prompts->answerInput(u"Bob's map"_s);
        QCOMPARE(store().rename(u"Crohn's map"_s).name, u"Bob's map"_s);
        QCOMPARE(m_prompts->described().mid(1),
            (QStringList{u"Rename tag map|Please type the new name of the tag map|input:Crohn's map"_s,
                u"Rename tag map|Web of Science is the name of a ready-made tag map.\nPlease type the new name of the "
                "tag map|input:Web of Science"_s,
                u"Rename tag map|You already have a tag map called Crohn's map\nPlease type the new name of the tag "
                "map|input:Crohn's map"_s}));
        QCOMPARE(*store().names(), QStringList{u"Bob's map"_s});

        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Bob's map"_s).result, LabelChange::Done);
        QCOMPARE(lastBox(),
            u"Delete tag map|You are going to delete the tag map Bob's map.\nAre you sure you want to delete "
            "it?|YesNo/None/Yes"_s);
        QCOMPARE(*store().names(), QStringList());
    }

    void overwritingAsksFirst()
    {
        saveAs(u"Mine"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"RIS"_s);
        m_prompts->answerInput(u"MINE"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QString());
        QCOMPARE(store().save(sampleMap()).result, LabelChange::Declined);
        QCOMPARE(m_prompts->described(),
            (QStringList{u"New tag map|Please type the name of the new tag map|input:My RIS"_s,
                u"New tag map|RIS is the name of a ready-made tag map.\nPlease type the name of the new tag "
                "map|input:RIS"_s,
                u"Papyrant|You already have a tag map called MINE\nDo you want to overwrite it?|YesNo/Exclamation/Yes"_s,
                u"New tag map|Please type the name of the new tag map|input:MINE"_s}));
        m_prompts->answerInput(u"mine"_s);
        m_prompts->answerMessage(PromptButton::Yes);
        TagMap changed = sampleMap();
        changed.rule(TagTarget::Title) = ruleFromText(u"T1"_s);
        QCOMPARE(store().save(changed).name, u"mine"_s);
        QCOMPARE(readLines(m_path, u"SELECT Name, Title FROM tagmaps"_s), QStringList{u"mine|T1"_s});
    }

    void labelsFileWrittenBeforeStillWorks()
    {
        OtherConnection(m_path, "DROP TABLE tagmaps");
        const QStringList labelSets = readLines(m_path, u"SELECT * FROM abbreviations"_s);
        QCOMPARE(*store().names(), QStringList());
        bool vanished = false;
        QVERIFY(!store().load(u"Gone"_s, &vanished) && vanished);
        QCOMPARE(lastBox(),
            u"Papyrant|The tag map called Gone is no longer in the labels file.\nNothing was changed.|Ok/None/Ok"_s);
        QVERIFY(LabelSetStore(*m_prompts, m_path).load(u"RIS"_s));
        saveAs(u"First"_s);
        QCOMPARE(*store().names(), QStringList{u"First"_s});
        QCOMPARE(readLines(m_path, u"SELECT * FROM abbreviations"_s), labelSets);
        // The table made on the first save is the one the shipped labels file has.
        const QString columns = u"SELECT name, type FROM pragma_table_info('tagmaps')"_s;
        QCOMPARE(readLines(m_path, columns), readLines(builtProgramFolder() + u"/VarEdoAbb"_s, columns));
    }
};

QTEST_GUILESS_MAIN(TagMapsTest)
#include "tst_TagMaps.moc"
