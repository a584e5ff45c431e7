// Working on the whole result: a category for every record, the copy into another
// bibliography and the deletion, read back through bare SQLite. The boxes they ask and
// the copy into a new bibliography are worked through the screen (tst_ResultWork).

#include "core/DataBinding.h"
#include "core/RecordModel.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;
using namespace papyrant::test;

namespace {

const QString SoilSearch = QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Keywords = 'soil'");
// Another program reading a bibliography: its open read transaction keeps any writer
// from committing.
const char* const ReadLock = "BEGIN; SELECT count(*) FROM Abstracts;";

std::vector<TestRecord> fiveRecords()
{
    std::vector<TestRecord> records;
    const QStringList keywords{"soil", "water", "soil", "soil", "air"};
    for (int i = 0; i < 5; ++i) {
        TestRecord record;
        for (const QString& column : columnNames())
            record[column] = QStringLiteral("%1 of %2").arg(column).arg(i + 1);
        record["Keywords"] = keywords[i];
        record["Entry_Date"] = QStringLiteral("0%1.03.2019").arg(i + 1);
        record["Category"] = i % 2 ? "Methods" : "None";
        records.push_back(record);
    }
    return records;
}

} // namespace

class ResultManagementTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_bibliography;
    std::unique_ptr<DataBinding> m_results;

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_bibliography = m_folder->makeBibliography("meadows.pyr", fiveRecords());
        m_results = std::make_unique<DataBinding>(m_folder->openBibliography(m_bibliography));
        m_results->setRecordSource(SoilSearch);
        m_results->refresh();
    }
    void cleanup()
    {
        m_results.reset();
        m_folder.reset();
    }

    void categoryForEveryResult_data()
    {
        QTest::addColumn<QString>("category");
        QTest::newRow("plain") << "Reviews";
        QTest::newRow("with a quote") << "Crohn's";
    }
    void categoryForEveryResult()
    {
        QFETCH(QString, category);
        m_results->recordset().setAbsolutePosition(1);
        QCOMPARE(putResultsIntoCategory(*m_results, category), 3);
        QCOMPARE(m_results->recordset().absolutePosition(), 1);
        QCOMPARE(m_results->recordset().value("Title"), "Title of 3");
        QCOMPARE(m_results->recordset().value("Category"), category);
        QCOMPARE(readLines(m_bibliography, "SELECT Category FROM Abstracts ORDER BY rowid"),
            (QStringList{category, "Methods", category, category, "None"}));
    }

    void copyIntoItselfAppends()
    {
        ScriptedPrompts prompts;
        prompts.answerFile(m_bibliography);
        auto copy = startResultCopy(prompts, m_folder->state(), m_bibliography, m_results->recordset());
        QVERIFY(copy);
        QCOMPARE(copy->progressText(), "Copying 3 records to meadows.pyr bibliography");
        QCOMPARE(runToEnd(*copy), StepOutcome::done());
        QCOMPARE(readLines(m_bibliography, "SELECT count(*) FROM Abstracts WHERE Keywords = 'soil'"), QStringList{"6"});
    }

    void engineErrorKeepsCommittedTicks_data()
    {
        QTest::addColumn<int>("commitInterval");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QStringList>("soilLeft");
        QTest::newRow("commit every tick") << 0 << QStringList{"Title of 1"} << QStringList{"Title of 1", "Title of 3"};
        QTest::newRow("first tick not committed yet")
            << 3600000 << QStringList{} << QStringList{"Title of 1", "Title of 3", "Title of 4"};
    }
    void engineErrorKeepsCommittedTicks()
    {
        QFETCH(int, commitInterval);
        QFETCH(QStringList, copied);
        QFETCH(QStringList, soilLeft);
        const std::chrono::milliseconds interval(commitInterval);
        const TickBudget oneRecord(std::chrono::milliseconds(0));
        const QString target = m_folder->makeBibliography("locked.pyr");
        ResultCopy copy(m_bibliography, m_results->recordset().rowKeys(), target, "locked.pyr", interval);
        QCOMPARE(copy.step(oneRecord), StepOutcome::more());
        OtherConnection reader(target, ReadLock);
        QCOMPARE(copy.step(TickBudget()), StepOutcome::failed("database is locked"));
        reader.close();
        QCOMPARE(
            copy.outcomeText(), QString::number(copied.size()) + " records were copied to locked.pyr bibliography");
        QCOMPARE(readLines(target, "SELECT Title FROM Abstracts"), copied);

        ResultDeletion deletion(m_results->database(), m_results->recordset().rowKeys(), interval);
        QCOMPARE(deletion.step(oneRecord), StepOutcome::more());
        OtherConnection otherReader(m_bibliography, ReadLock);
        QCOMPARE(deletion.step(TickBudget()), StepOutcome::failed("database is locked"));
        otherReader.close();
        QCOMPARE(deletion.remaining(), soilLeft.size());
        QCOMPARE(readLines(m_bibliography, "SELECT Title FROM Abstracts WHERE Keywords = 'soil'"), soilLeft);
    }

    void deleteAllKeepsTheConnectionsSetting()
    {
        m_results->setRecordSource("Select Abstracts.* From Abstracts");
        auto secureDelete = [&] { return m_results->database().handle().execAndGet("PRAGMA secure_delete").getInt(); };
        const int before = secureDelete();
        {
            ResultDeletion deletion(m_results->database(), m_results->refresh().rowKeys());
            QCOMPARE(deletion.total(), 5);
            QCOMPARE(runToEnd(deletion), StepOutcome::done());
            QCOMPARE(deletion.remaining(), 0);
        }
        QCOMPARE(secureDelete(), before);
        QCOMPARE(readLines(m_bibliography, "SELECT count(*) FROM Abstracts"), QStringList{"0"});
    }
};

QTEST_GUILESS_MAIN(ResultManagementTest)
#include "tst_ResultManagement.moc"
