// Working on the whole result: a category for every record, the copy into another
// bibliography and the deletion, read back through bare SQLite.

#include "core/BibliographyFiles.h"
#include "core/DataBinding.h"
#include "core/RecordModel.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

using namespace papyrant;
using namespace papyrant::test;

namespace {

const QString SoilSearch = QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Keywords = 'soil'");
const QString AllColumns = QStringLiteral("SELECT * FROM Abstracts ORDER BY rowid");

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

// Another program reading a bibliography: its open read transaction keeps any writer
// from committing.
class ReadLock {
public:
    explicit ReadLock(const QString& path)
    {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        sqlite3_exec(m_db, "BEGIN; SELECT count(*) FROM Abstracts;", nullptr, nullptr, nullptr);
    }
    ~ReadLock() { sqlite3_close(m_db); }

private:
    sqlite3* m_db = nullptr;
};

template <typename Batch>
BatchState runToEnd(Batch& batch)
{
    BatchState state;
    while ((state = batch.step(TickBudget())) == BatchState::Running) { }
    return state;
}

} // namespace

class ResultManagementTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_bibliography;
    DataBinding m_results;

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_bibliography = m_folder->makeBibliography("meadows.pyr", fiveRecords());
        m_folder->openBibliography(m_bibliography);
        m_results.close();
        m_results.setDatabasePath(m_bibliography);
        m_results.setRecordSource(SoilSearch);
        m_results.refresh();
    }
    void cleanup()
    {
        m_results.close();
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
        m_results.recordset().setAbsolutePosition(1);
        QCOMPARE(putResultsIntoCategory(m_results, category), 3);
        QCOMPARE(m_results.recordset().absolutePosition(), 1);
        QCOMPARE(m_results.recordset().value("Title"), "Title of 3");
        QCOMPARE(m_results.recordset().value("Category"), category);
        const auto rows = readRows(m_bibliography, "SELECT Category FROM Abstracts ORDER BY rowid");
        QCOMPARE(rows, (std::vector<QStringList>{{category}, {"Methods"}, {category}, {category}, {"None"}}));
    }

    void copyIntoNewBibliography()
    {
        ScriptedPrompts prompts;
        const QString target = m_folder->filePath("for-ana.pyr");
        prompts.answerFile(target);
        prompts.answerMessage(PromptButton::Yes);
        auto copy = startResultCopy(prompts, m_folder->state(), m_results.recordset());
        QVERIFY(copy);
        QCOMPARE(prompts.asked()[0].title, CopyTargetTitle);
        QCOMPARE(prompts.asked()[0].filter, BibliographyFilter);
        QCOMPARE(prompts.asked()[1].text, "Bibliography \"for-ana.pyr\" Doesn't exist. \nDo you want to create it?");
        QCOMPARE(prompts.asked()[1].icon, PromptIcon::Question);
        QCOMPARE(m_folder->state().CopyTargetPath, target);
        QCOMPARE(copy->progressText(), "Copying 3 records to for-ana.pyr bibliography");
        QCOMPARE(runToEnd(*copy), BatchState::Finished);
        QCOMPARE(copy->outcomeText(), "3 records were copied to for-ana.pyr bibliography");
        // Every column as it was, entry dates and categories included, in the result's order.
        QCOMPARE(readRows(target, AllColumns), readRows(m_bibliography, SoilSearch));
        QCOMPARE(readRows(m_bibliography, "SELECT count(*) FROM Abstracts")[0][0], "5");
    }

    void declinedTargetIsReported()
    {
        ScriptedPrompts prompts;
        prompts.answerFile(m_folder->filePath("missing.pyr"));
        prompts.answerMessage(PromptButton::No);
        QVERIFY(!startResultCopy(prompts, m_folder->state(), m_results.recordset()));
        QVERIFY2(prompts.messages().last().contains("does not exist"), qPrintable(prompts.messages().last()));
        QVERIFY(!QFile::exists(m_folder->filePath("missing.pyr")));
    }

    void copyIntoItselfAppends()
    {
        ScriptedPrompts prompts;
        prompts.answerFile(m_bibliography);
        auto copy = startResultCopy(prompts, m_folder->state(), m_results.recordset());
        QVERIFY(copy);
        QCOMPARE(runToEnd(*copy), BatchState::Finished);
        QCOMPARE(readRows(m_bibliography, "SELECT count(*) FROM Abstracts WHERE Keywords = 'soil'")[0][0], "6");
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
        const std::chrono::milliseconds interval(commitInterval);
        const TickBudget oneRecord(std::chrono::milliseconds(0));
        const QString target = m_folder->makeBibliography("locked.pyr");
        ResultCopy copy(m_bibliography, m_results.recordset().rowKeys(), target, "locked.pyr", interval);
        QCOMPARE(copy.step(oneRecord), BatchState::Running);
        {
            ReadLock lock(target);
            QCOMPARE(copy.step(TickBudget()), BatchState::Failed);
        }
        QCOMPARE(copy.error(), "database is locked");
        QFETCH(QStringList, copied);
        QCOMPARE(
            copy.outcomeText(), QString::number(copied.size()) + " records were copied to locked.pyr bibliography");
        QCOMPARE(readRows(target, "SELECT Title FROM Abstracts").size(), size_t(copied.size()));

        ResultDeletion deletion(m_results.database(), m_results.recordset().rowKeys(), interval);
        QCOMPARE(deletion.step(oneRecord), BatchState::Running);
        {
            ReadLock lock(m_bibliography);
            QCOMPARE(deletion.step(TickBudget()), BatchState::Failed);
        }
        QFETCH(QStringList, soilLeft);
        QCOMPARE(deletion.remaining(), soilLeft.size());
        QStringList left;
        for (const QStringList& row : readRows(m_bibliography, "SELECT Title FROM Abstracts WHERE Keywords = 'soil'"))
            left << row;
        QCOMPARE(left, soilLeft);
    }

    void deleteAll()
    {
        ScriptedPrompts prompts;
        prompts.answerMessage(PromptButton::No);
        QVERIFY(!askDeleteAllResults(prompts, 3));
        QCOMPARE(prompts.asked()[0].text,
            "Current results revealed 3 records.\nAre you sure you want to delete all current results?");
        QCOMPARE(prompts.asked()[0].buttons, PromptButtons::YesNo);

        m_results.setRecordSource("Select Abstracts.* From Abstracts");
        auto secureDelete = [&] { return m_results.database().handle().execAndGet("PRAGMA secure_delete").getInt(); };
        const int before = secureDelete();
        {
            ResultDeletion deletion(m_results.database(), m_results.refresh().rowKeys());
            QCOMPARE(deletion.total(), 5);
            QCOMPARE(runToEnd(deletion), BatchState::Finished);
            QCOMPARE(deletion.remaining(), 0);
        }
        QCOMPARE(secureDelete(), before);
        QCOMPARE(m_results.refresh().recordCount(), 0);
        QCOMPARE(refreshRecordCount(m_folder->state()), "bibliography name is: meadows, contains no records");
    }
};

QTEST_GUILESS_MAIN(ResultManagementTest)
#include "tst_ResultManagement.moc"
