// Tag maps over sample exports written from the formats' public descriptions: the
// ready-made maps fill every field cleanly, and a layout no map knows gets a proposal the
// user can turn into a map.

#include "formats/FormatDetection.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TagMapProposal.h"
#include "formats/TaggedRecordCursor.h"

#include <QFile>
#include <QTest>

using namespace papyrant;
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

} // namespace

class TagMapsTest : public QObject {
    Q_OBJECT
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
        add(medline, 0, Author_address, u"Department of Soil Science, Agricultural University, Uppsala, Sweden."_s);
        add(medline, 0, Source, u"J Soil Ecol. 2019 Feb;41(2):211-224."_s);
        add(medline, 0, Keywords, u"Carbon/*analysis; Grassland; Soil/*chemistry; land use"_s);
        add(medline, 0, Publication_type, u"Journal Article; Research Support, Non-U.S. Gov't"_s);
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
        add(ris, 0, Keywords, u"soil organic carbon; grassland; land use"_s);
        add(ris, 0, Publication_type, u"Journal Article"_s);
        add(ris, 1, Source, u"Alpine Ecology. 1998;188:901-912"_s);
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
        add(isi, 1, Keywords, u"SPECIFIC ROOT LENGTH; GRASSLAND"_s);
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
};

QTEST_GUILESS_MAIN(TagMapsTest)
#include "tst_TagMaps.moc"
