// The grammars of tagged exports: records and their (tag, value) pairs as each layout
// writes them, awkward cases included, the records' places in the text, and detection,
// whose count must equal the records the cursor reads.

#include "formats/FormatDetection.h"
#include "formats/TaggedRecordCursor.h"
#include "support/TableRows.h"

#include <QFile>
#include <QTest>

using namespace papyrant;
using papyrant::test::row;
using namespace Qt::StringLiterals;

namespace {

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

QString sample(const QString& leaf)
{
    QFile file(QStringLiteral(PAPYRANT_SOURCE_DIR "/tests/") + leaf);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TaggedGrammarsTest : public QObject {
    Q_OBJECT
private slots:
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
        row("RIS sample", sample(u"formats/data/awkward.ris"_s), TaggedFormat::Ris, 7, u"RIS export: 7 records"_s);
        row("MEDLINE sample", sample(u"formats/data/awkward.nbib"_s), TaggedFormat::Medline, 4,
            u"MEDLINE export: 4 records"_s);
        row("Web of Science sample", sample(u"formats/data/awkward.isi"_s), TaggedFormat::WebOfScience, 4,
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
};

QTEST_GUILESS_MAIN(TaggedGrammarsTest)
#include "tst_TaggedGrammars.moc"
