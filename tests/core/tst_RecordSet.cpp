// Record sets: keyset positioning, adding, editing, deleting and batches.

#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "support/TestFolders.h"

#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

using namespace papyrant;
using test::TestRecord;

namespace {
const QString ChangedOutside = QStringLiteral("This record was changed or deleted outside this screen.");

std::vector<TestRecord> titled(std::initializer_list<const char*> titles)
{
    std::vector<TestRecord> records;
    for (const char* title : titles)
        records.push_back({{"Title", title}});
    return records;
}

QStringList titles(const QString& path)
{
    QStringList found;
    for (const QStringList& row : test::readRows(path, "Select Title From Abstracts"))
        found << row[0];
    return found;
}

// How often the connection's most used prepared statement starting with the verb has run.
int runsOf(Database& db, const char* verb)
{
    int runs = 0;
    sqlite3* handle = db.handle().getHandle();
    for (sqlite3_stmt* s = sqlite3_next_stmt(handle, nullptr); s; s = sqlite3_next_stmt(handle, s)) {
        if (QByteArray(sqlite3_sql(s)).startsWith(verb))
            runs = std::max(runs, sqlite3_stmt_status(s, SQLITE_STMTSTATUS_RUN, 0));
    }
    return runs;
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
        // A second statement is refused before the first one runs.
        QVERIFY_THROWS_EXCEPTION(StoreError, db.execute("Update Abstracts SET Category = 'z'; Delete From Abstracts"));
        QCOMPARE(db.execute("Update Abstracts SET Category = 'z'; -- all of them"), 1);
    }

    void aFailedCallLeavesNoLockAndTheRetrySucceeds_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("read") << "EXCLUSIVE"
                              << "read" << QStringList{"a", "b"};
        QTest::newRow("add") << "IMMEDIATE"
                             << "add" << QStringList{"a", "b", "c"};
        QTest::newRow("edit") << "IMMEDIATE"
                              << "edit" << QStringList{"a", "c"};
        QTest::newRow("delete") << "IMMEDIATE"
                                << "delete" << QStringList{"a"};
    }
    void aFailedCallLeavesNoLockAndTheRetrySucceeds()
    {
        QFETCH(QString, lock);
        QFETCH(QString, operation);
        QFETCH(QStringList, stored);
        const QString path = m_folder->makeBibliography("locked.pyr", titled({"a", "b"}));
        Database db(path);
        db.setBusyTimeout(0);
        RecordSet rows(db, "Abstracts");
        rows.moveLast();
        if (operation == "add")
            rows.addNew();
        if (operation == "edit")
            rows.edit();
        if (rows.editing())
            rows.setValue(0, "c");
        const auto attempt = [&] {
            if (operation == "read")
                QCOMPARE(rows.value(0), QStringLiteral("b"));
            else if (operation == "delete")
                rows.deleteCurrent();
            else
                rows.update();
        };
        SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
        other.exec(("BEGIN " + lock).toStdString());
        other.exec("UPDATE Abstracts SET Category = 'busy' WHERE Title = 'a'");
        QVERIFY_THROWS_EXCEPTION(StoreError, attempt());
        QCOMPARE(rows.absolutePosition(), 1);
        other.exec("COMMIT"); // possible only when the failed call let go of the file
        attempt();
        QCOMPARE(titles(path), stored);
    }

    void writesNeverLandOnAnotherRecord_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("reused");
        QTest::newRow("edit, row gone") << false << false;
        QTest::newRow("edit, row id reused") << false << true;
        QTest::newRow("delete, row gone") << true << false;
        QTest::newRow("delete, row id reused") << true << true;
    }
    void writesNeverLandOnAnotherRecord()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, reused);
        const QString path = m_folder->makeBibliography("stale.pyr", titled({"a", "b"}));
        Database db(path);
        RecordSet rows(db, "Abstracts");
        rows.moveLast();
        QCOMPARE(rows.value(0), QStringLiteral("b"));
        SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
        other.exec("DELETE FROM Abstracts WHERE Title = 'b'");
        if (reused) // the deleted row had the highest id, so the next row gets it again
            other.exec("INSERT INTO Abstracts (Title) VALUES ('new')");
        try {
            if (!deleting) {
                rows.edit();
                rows.setValue(0, "written");
            }
            deleting ? rows.deleteCurrent() : rows.update();
            QFAIL("a stale record set must not write");
        } catch (const StoreError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), ChangedOutside);
        }
        QCOMPARE(titles(path), reused ? QStringList({"a", "new"}) : QStringList({"a"}));
    }

    void valuesComeBackAsStored()
    {
        const QString path = m_folder->makeBibliography("other.pyr", titled({"a"}));
        {
            SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
            other.exec("ALTER TABLE Abstracts ADD COLUMN Extra TEXT NOT NULL DEFAULT 'kept'");
            other.exec("UPDATE Abstracts SET Keywords = CAST('gene' AS BLOB), Publishing_year = '0042'");
        }
        Database db(path);
        RecordSet rows(db, "Abstracts");
        QCOMPARE(rows.value("Keywords"), QStringLiteral("gene"));
        rows.addNew();
        rows.setValue("Publishing_year", "0042");
        rows.update();
        const auto stored = test::readRows(path, "Select Publishing_year, Extra From Abstracts");
        QCOMPARE(stored, std::vector<QStringList>(2, {"0042", "kept"}));
    }

    void deletingWhileWalkingKeepsPositionsAndPreparesOnce()
    {
        std::vector<TestRecord> records;
        QStringList model;
        for (int i = 0; i < 60; ++i) {
            model << QString::number(i);
            records.push_back({{"Title", model.back()}});
        }
        const QString path = m_folder->makeBibliography("walk.pyr", records);
        Database db(path);
        RecordSet rows(db, "Abstracts");
        int deleted = 0;
        const auto check = [&] {
            QCOMPARE(rows.recordCount(), int(model.size()));
            for (int p = 0; p < model.size(); p += 7) {
                rows.setAbsolutePosition(p);
                QCOMPARE(rows.value(0), model[p]);
            }
            rows.moveFirst();
            QCOMPARE(rows.skip(5), 5);
            QCOMPARE(rows.absolutePosition(), 5);
            QCOMPARE(rows.value(0), model[5]);
        };
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) { // maintenance deletes every third
            if (rows.value(0).toInt() % 3 == 0) {
                model.removeAt(rows.absolutePosition());
                rows.deleteCurrent();
                ++deleted;
            }
        }
        check();
        while (rows.recordCount() > 20) { // deleting all results from the end
            rows.moveLast();
            rows.deleteCurrent();
            model.removeLast();
            ++deleted;
        }
        check();
        for (int i = 0; i < 3; ++i) {
            rows.edit();
            rows.setValue(0, model[5] += "+");
            rows.update();
        }
        {
            Database::Transaction batch(db);
            for (const char* title : {"x", "y", "z"}) {
                rows.addNew();
                rows.setValue(0, title);
                rows.update();
                model << title;
            }
            batch.commit();
        }
        QCOMPARE(rows.lastModifiedPosition(), int(model.size()) - 1);
        check();
        QCOMPARE(titles(path), model);
        QCOMPARE(runsOf(db, "DELETE"), deleted);
        QCOMPARE(runsOf(db, "UPDATE"), 3);
        QCOMPARE(runsOf(db, "INSERT"), 3);
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
