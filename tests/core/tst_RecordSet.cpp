// Record sets: keyset positioning, adding, editing, deleting and batches.

#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "support/TestFolders.h"

#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

using namespace papyrant;
using test::TestRecord;

namespace {
std::vector<TestRecord> titled(std::initializer_list<const char*> titles)
{
    std::vector<TestRecord> records;
    for (const char* title : titles)
        records.push_back({{"Title", title}});
    return records;
}
} // namespace

class RecordSetTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<test::TestProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void walksInStatementOrder()
    {
        const QString path = m_folder->makeBibliography("walk.pyr", titled({"c", "a", "b"}));
        Database db(path);
        RecordSet rows(db, "Select Abstracts.* From Abstracts");
        QVERIFY(rows.updatable());
        QCOMPARE(rows.recordCount(), 3);
        QVERIFY(!rows.bof());
        QCOMPARE(rows.absolutePosition(), 0);
        QCOMPARE(rows.value("Title"), QStringLiteral("c")); // order added
        rows.moveLast();
        QCOMPARE(rows.value(0), QStringLiteral("b"));
        rows.moveNext();
        QVERIFY(rows.eof());
        QVERIFY(!rows.hasCurrent());
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.value(0));
        rows.movePrevious();
        QCOMPARE(rows.absolutePosition(), 2);
        rows.setAbsolutePosition(1);
        QCOMPARE(rows.value("title"), QStringLiteral("a"));
        rows.moveFirst();
        rows.movePrevious();
        QVERIFY(rows.bof());
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.setAbsolutePosition(3));

        RecordSet sorted(db, "Select Abstracts.* From Abstracts Order by Title");
        QStringList order;
        for (; !sorted.eof(); sorted.moveNext())
            order << sorted.value("Title");
        QCOMPARE(order, QStringList({"a", "b", "c"}));
    }

    void emptySetIsBothEnds()
    {
        const QString path = m_folder->makeBibliography("empty.pyr");
        Database db(path);
        RecordSet rows(db, "Abstracts");
        QCOMPARE(rows.recordCount(), 0);
        QVERIFY(rows.eof());
        QVERIFY(rows.bof());
        QCOMPARE(rows.absolutePosition(), -1);
        rows.moveNext();
        rows.movePrevious();
        QVERIFY(rows.eof() && rows.bof());
    }

    void deleteLeavesNoCurrentUntilTheNextMove()
    {
        const QString path = m_folder->makeBibliography("delete.pyr", titled({"a", "b", "c"}));
        Database db(path);
        RecordSet rows(db, "Select Abstracts.* From Abstracts");
        rows.setAbsolutePosition(1);
        rows.deleteCurrent();
        QCOMPARE(rows.recordCount(), 2);
        QVERIFY(!rows.hasCurrent());
        QCOMPARE(rows.absolutePosition(), -1);
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.value(0));
        rows.moveNext();
        QCOMPARE(rows.value("Title"), QStringLiteral("c"));
        QCOMPARE(rows.absolutePosition(), 1);

        rows.deleteCurrent(); // the last one
        rows.moveNext();
        QVERIFY(rows.eof());
        rows.movePrevious();
        QCOMPARE(rows.value("Title"), QStringLiteral("a"));
        rows.addNew();
        rows.setValue("Title", "d");
        rows.update();
        rows.moveLast();
        rows.deleteCurrent();
        rows.movePrevious(); // from a deleted record back to the one before it
        QCOMPARE(rows.value("Title"), QStringLiteral("a"));
        QCOMPARE(test::readRows(path, "Select Title From Abstracts").size(), std::size_t(1));
    }

    void addNewGoesToTheEndAndKeepsTheCurrentRecord()
    {
        const QString path = m_folder->makeBibliography("add.pyr", titled({"a", "b"}));
        Database db(path);
        RecordSet rows(db, "Select Abstracts.* From Abstracts Order by Title");
        rows.moveFirst();
        rows.addNew();
        rows.setValue("Title", "0 first by title");
        rows.setValue("Category", "Crohn's");
        QCOMPARE(rows.value("Title"), QStringLiteral("0 first by title"));
        rows.update();
        QCOMPARE(rows.recordCount(), 3);
        QCOMPARE(rows.value("Title"), QStringLiteral("a"));
        QCOMPARE(rows.lastModifiedPosition(), 2);
        rows.moveLast();
        QCOMPARE(rows.value("Category"), QStringLiteral("Crohn's"));
        QCOMPARE(rows.value("Authors"), QString()); // never written
        const auto stored
            = test::readRows(path, "Select Title, Category, Authors From Abstracts Where Title Like '0%'");
        QCOMPARE(stored.size(), std::size_t(1));
        QCOMPARE(stored[0], QStringList({"0 first by title", "Crohn's", ""}));
    }

    void addToEmptySetMakesItCurrent()
    {
        const QString path = m_folder->makeBibliography("first.pyr");
        Database db(path);
        RecordSet rows(db, "Abstracts");
        rows.addNew();
        rows.setValue(0, "only");
        rows.update();
        QCOMPARE(rows.recordCount(), 1);
        QCOMPARE(rows.absolutePosition(), 0);
        QCOMPARE(rows.value(0), QStringLiteral("only"));
    }

    void editUpdatesOnlyTheCurrentRow()
    {
        const QString path = m_folder->makeBibliography("edit.pyr", titled({"a", "b"}));
        Database db(path);
        RecordSet rows(db, "Abstracts");
        rows.moveLast();
        rows.edit();
        rows.setValue("Title", "B changed");
        rows.update();
        QCOMPARE(rows.value("Title"), QStringLiteral("B changed"));
        rows.edit();
        rows.setValue("Title", "discarded");
        rows.cancelUpdate();
        QCOMPARE(rows.value("Title"), QStringLiteral("B changed"));
        rows.edit();
        rows.setValue("Title", "left by moving");
        rows.moveFirst();
        rows.moveLast();
        QCOMPARE(rows.value("Title"), QStringLiteral("B changed"));
        const auto stored = test::readRows(path, "Select Title From Abstracts");
        QCOMPARE(stored[0][0], QStringLiteral("a"));
        QCOMPARE(stored[1][0], QStringLiteral("B changed"));
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.setValue(0, "without edit"));
    }

    void skipPassesRecords()
    {
        const QString path = m_folder->makeBibliography("skip.pyr", titled({"1", "2", "3", "4", "5"}));
        Database db(path);
        RecordSet rows(db, "Abstracts");
        QCOMPARE(rows.skip(2), 2);
        QCOMPARE(rows.value(0), QStringLiteral("3"));
        QCOMPARE(rows.skip(50), 3);
        QVERIFY(rows.eof());
        QCOMPARE(rows.skip(1), 0);
    }

    void snapshotsAreReadOnly()
    {
        const QString path = m_folder->makeBibliography(
            "distinct.pyr", {{{"Category", "A"}}, {{"Category", "B"}}, {{"Category", "A"}}});
        Database db(path);
        RecordSet categories(db, "Select Distinct Abstracts.Category From Abstracts");
        QVERIFY(!categories.updatable());
        QCOMPARE(categories.recordCount(), 2);
        QCOMPARE(categories.columnNames(), QStringList({"Category"}));
        QVERIFY_THROWS_EXCEPTION(StoreError, categories.addNew());
    }

    void literalsDoNotFoolTheStatementReader()
    {
        const QString path = m_folder->makeBibliography("order.pyr", titled({"b order by x", "a"}));
        Database db(path);
        RecordSet rows(
            db, "Select Abstracts.* From Abstracts Where Abstracts.Title Like '* order by *' or Title = 'a'");
        QVERIFY(rows.updatable());
        QCOMPARE(rows.recordCount(), 2);
        QCOMPARE(rows.value("Title"), QStringLiteral("b order by x")); // no order: as added
    }

    void statementsAndBatches()
    {
        const QString path
            = m_folder->makeBibliography("batch.pyr", {{{"Category", "x"}}, {{"Category", "y"}}, {{"Category", "x"}}});
        Database db(path);
        QCOMPARE(db.execute("Delete Abstracts.* From Abstracts Where Category = 'x'"), 2);
        {
            Database::Transaction batch(db);
            db.execute("Update Abstracts SET Category = 'z'");
            // not committed: rolled back when the batch ends
        }
        QCOMPARE(test::readRows(path, "Select Category From Abstracts")[0][0], QStringLiteral("y"));
        QVERIFY_THROWS_EXCEPTION(StoreError, db.execute("Update Nothing SET a = 1"));
    }

    void bindingKeepsItsSetWhenARefreshFails()
    {
        const QString path = m_folder->makeBibliography("binding.pyr", titled({"a"}));
        DataBinding binding(path);
        binding.setRecordSource("Select Abstracts.* From Abstracts");
        binding.refresh();
        binding.setRecordSource("Select Abstracts.* From Abstracts Where ((Title = 'a')");
        try {
            binding.refresh();
            QFAIL("an unpaired bracket must be rejected");
        } catch (const StoreError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("incomplete input"));
        }
        QCOMPARE(binding.recordset().recordCount(), 1);
    }

    void writeAheadLoggingIsTurnedBackIntoOneFile()
    {
        const QString path = m_folder->makeBibliography("wal.pyr", titled({"a"}));
        {
            SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
            other.exec("PRAGMA journal_mode = WAL");
        }
        Database db(path);
        db.execute("Update Abstracts SET Title = 'b'");
        SQLite::Statement mode(db.handle(), "PRAGMA journal_mode");
        QVERIFY(mode.executeStep());
        QCOMPARE(QString::fromUtf8(mode.getColumn(0).getText()), QStringLiteral("delete"));
        QVERIFY(!QFile::exists(path + "-wal"));
    }

    void missingFilesAreNotCreated()
    {
        const QString path = m_folder->filePath("nowhere.pyr");
        QVERIFY_THROWS_EXCEPTION(StoreError, Database{path});
        QVERIFY(!QFile::exists(path));
    }

private:
    std::unique_ptr<test::TestProgramFolder> m_folder;
};

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_RecordSet.moc"
