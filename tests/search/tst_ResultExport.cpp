// "Export..." on the Results tab and "Copy citation" on the edit tab, through the real
// controls: the file chosen and the replace question through the prompts, each format
// read by an independent reader (bibutils' ris2xml, pandoc) and a RIS file read back by
// the program's own tagged-exports reader, a write that fails, the clipboard's entry.

#include "core/RecordModel.h"
#include "formats/CitationWriter.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TaggedRecordCursor.h"
#include "search/ResultExport.h"
#include "search/ResultFiles.h"
#include "support/FileSizeLimit.h"
#include "support/IndependentReaders.h"
#include "support/ResultsScreenTest.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>

#include <optional>

using namespace papyrant;
using namespace papyrant::test;

namespace {

// The nine fields extraction fills, in column order; the row numbers are not in title order.
const std::vector<QStringList> NineFields{
    {"Zebrafish genes: 50% of #1 & a_b {x} ~ ^ \\ in Ærø", "Müller, Karl; Łukasiewicz, Jan",
        "Dept. of Genes, Univ. of Y", "Bioinformatics. 2006;22(5):606-607", "2006", "gene therapy; mice",
        "Journal Article", "English", "One line of abstract, 100% & ~ {unbalanced"},
    {"Atlas of mouse gene maps", "Smith, John; Zhang, Wei", EmptyFieldMarker, "Genes Today. 2001;23:1-9", "2001",
        "genome", "Report", "German", EmptyFieldMarker},
    {"Gene study of rats", "Brown, Ann", EmptyFieldMarker, "Journal of Genes. 1999;7(2):11", "1999", EmptyFieldMarker,
        "Journal Article", EmptyFieldMarker, "Rats."},
};

std::vector<TestRecord> exportRecords()
{
    std::vector<TestRecord> records;
    for (const QStringList& fields : NineFields) {
        TestRecord record{{"TitelS", fields[0]}, {"Category", NoCategory}, {"Personal", EmptyFieldMarker}};
        for (int column = 0; column < ExtractedFieldCount; ++column)
            record[columnName(column)] = fields[column];
        records.push_back(record);
    }
    return records;
}


struct Run {
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

Run pandoc(const QString& from, const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pandoc"), {"-f", from, "-t", "csljson", path});
    process.waitForFinished(60000);
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

// pandoc's CSL-JSON as citations: family names (a group's whole name), the year, the journal.
std::vector<Citation> cslCitations(const QByteArray& json)
{
    std::vector<Citation> citations;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).array()) {
        const QJsonObject item = value.toObject();
        Citation citation{item.value(QStringLiteral("title")).toString(), {}, {},
            item.value(QStringLiteral("container-title")).toString()};
        for (const QJsonValue& name : item.value(QStringLiteral("author")).toArray()) {
            const QJsonObject parts = name.toObject();
            citation.authors << parts
                                    .value(parts.contains(QStringLiteral("literal")) ? QStringLiteral("literal")
                                                                                     : QStringLiteral("family"))
                                    .toString();
        }
        citation.year = item.value(QStringLiteral("issued"))[QStringLiteral("date-parts")][0][0].toVariant().toString();
        citations.push_back(citation);
    }
    return citations;
}

// Title, authors, year and source of each record, as compareWithReader takes them.
std::vector<QStringList> citedFields(const std::vector<QStringList>& records)
{
    std::vector<QStringList> cited;
    for (const QStringList& fields : records)
        cited.push_back({fields[Title], fields[Authors], fields[Publishing_year], fields[Source]});
    return cited;
}

} // namespace

class ResultExportTest : public ResultsScreenTest {
    Q_OBJECT
private:
    void waitUntilIdle() { QTRY_VERIFY(m_form->isEnabled() && !m_form->ticks().running()); }
    QStringList files() const { return QDir(m_fixture->folder().path()).entryList(QDir::Files | QDir::Hidden); }
    // The nine fields of every record, read over a connection of the test's own, in the
    // order of the result (the search sorts by nothing: the order of the rows).
    std::vector<QStringList> stored() const
    {
        QStringList columns;
        for (int column = 0; column < ExtractedFieldCount; ++column)
            columns << columnName(column);
        std::vector<QStringList> records;
        for (const QString& line :
            rows(QStringLiteral("SELECT %1 FROM Abstracts ORDER BY rowid").arg(columns.join(QStringLiteral(", ")))))
            records.push_back(line.split(u'|'));
        return records;
    }

private slots:
    void initTestCase() { setUpCase(exportRecords()); }
    void init() { openScreen(); }
    void cleanup() { closeScreen(); }
    void cleanupTestCase() { tearDownCase(); }

    // The dialog proposes the bibliography's name; an existing file is replaced only
    // after Yes (No asks for the file again); the filter chosen gives the format.
    void exportedFileReadByIndependentReaders_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("leaf");
        QTest::newRow("RIS") << 1 << "genes.ris";
        QTest::newRow("BibTeX") << 2 << "genes.bib";
        QTest::newRow("CSL-JSON") << 3 << "genes.json";
    }
    void exportedFileReadByIndependentReaders()
    {
        QFETCH(int, filter);
        QFETCH(QString, leaf);
        search(QStringLiteral("gene"));
        const QString path = writeFileBytes(m_fixture->folder().filePath(leaf), "old");
        const QStringList before = files();
        for (PromptButton answer : {PromptButton::No, PromptButton::Yes}) {
            prompts().answerFile(path, filter);
            prompts().answerMessage(answer);
        }
        click("CommandExport");
        // Busy until the file is in place: the close box is refused meanwhile.
        QVERIFY(m_form->ticks().running() && the<QProgressBar>("ProgressExport")->isVisible());
        QVERIFY(!m_form->close());
        waitUntilIdle();
        QVERIFY(!the<QProgressBar>("ProgressExport")->isVisible());
        const QString dialog = ExportTitle + u'|' + CitationFileFilter + "|save:genes";
        const QString replace
            = "Papyrant|You already have file called \"" + leaf + "\"\nDo you want to replace it?|YesNo/Question/No";
        QCOMPARE(prompts().described(), (QStringList{dialog, replace, dialog, replace}));
        QCOMPARE(files(), before); // no temporary file is left

        const std::vector<QStringList> records = stored();
        QCOMPARE(records, NineFields);
        if (filter == 1) {
            compareWithReader(citedFields(records), independentCitations(path, TaggedFormat::Ris));
            // Read back by the tagged-exports reader, the nine fields come back as stored.
            const QString text = QString::fromUtf8(readFileBytes(path));
            TaggedRecordCursor cursor(text, TaggedFormat::Ris);
            TaggedRecord record;
            std::vector<QStringList> readBack;
            std::array<QString, ColumnCount> row;
            while (cursor.next(record)) {
                mapTaggedRecord(*readyTagMap(TaggedFormat::Ris), record, row);
                readBack.push_back(QStringList(row.begin(), row.begin() + ExtractedFieldCount));
            }
            QCOMPARE(readBack, records);
        } else {
            const Run run = pandoc(filter == 2 ? QStringLiteral("bibtex") : QStringLiteral("csljson"), path);
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.err, QByteArray());
            compareWithReader(citedFields(records), cslCitations(run.out));
        }
    }

    // A folder that cannot take the file (found when it is opened) or a file that cannot
    // grow (found by the writer, aside, half way): nothing is left behind, an existing file
    // stays as it was, and the notice says why.
    void failedExportLeavesNoFile_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<int>("sizeLimit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a file") << "plain/genes.bib" << 0 << "Not a directory";
        QTest::newRow("file too large") << "plain" << 600 << "File too large";
    }
    void failedExportLeavesNoFile()
    {
        QFETCH(QString, leaf);
        QFETCH(int, sizeLimit);
        QFETCH(QString, reason);
        search(QStringLiteral("gene"));
        const QString plain = writeFileBytes(m_fixture->folder().filePath(QStringLiteral("plain")), "kept");
        const QStringList before = files();
        prompts().answerFile(m_fixture->folder().filePath(leaf), 2);
        if (leaf == QStringLiteral("plain"))
            prompts().answerMessage(PromptButton::Yes); // replacing it
        {
            std::optional<FileSizeLimit> limit;
            if (sizeLimit > 0)
                limit.emplace(rlim_t(sizeLimit));
            click("CommandExport");
            waitUntilIdle();
        }
        QCOMPARE(prompts().messages().last(), FileNotSaved + u'\n' + reason);
        QCOMPARE(files(), before);
        QCOMPARE(readFileBytes(plain), QByteArray("kept"));
    }

    // The record on the edit tab goes to the clipboard as one BibTeX entry pandoc reads.
    void copyCitationReadByPandoc()
    {
        search(QStringLiteral("gene"));
        showTab(ReportForm::EditResults);
        click("CommandDown");
        QCOMPARE(the("CommandCite")->accessibleName(), QStringLiteral("Copy citation as BibTeX"));
        QGuiApplication::clipboard()->clear();
        click("CommandCite");
        const QString entry = QGuiApplication::clipboard()->text();
        QVERIFY2(entry.startsWith(QStringLiteral("@techreport{smith2001atlas,")), qPrintable(entry));
        const QString path = writeFileBytes(m_fixture->folder().filePath(QStringLiteral("copied.bib")), entry.toUtf8());
        const Run run = pandoc(QStringLiteral("bibtex"), path);
        QCOMPARE(run.err, QByteArray());
        compareWithReader({citedFields(stored())[1]}, cslCitations(run.out));
    }
};

QTEST_MAIN(ResultExportTest)
#include "tst_ResultExport.moc"
