// The store: the Like operator (wildcards, classes and case-blind matching, alone and in
// SQL) and the quoting of literals; record sets (keyset positioning, adding, editing,
// deleting and batches); and the record model's column-name form, holder rule and clock.

#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/LikeMatcher.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "support/FixedClock.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QTest>
#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {
const QString ChangedOutside = u"This record was changed or deleted outside this screen."_s;

std::vector<TestRecord> titled(std::initializer_list<const char*> titles)
{
    std::vector<TestRecord> records;
    for (const char* title : titles)
        records.push_back({{"Title", title}});
    return records;
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
    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup()
    {
        m_db.reset();
        m_folder.reset();
    }

    void matches_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("expected");
        // Word patterns the search builds.
        row("inner word", u"* gene *"_s, "a gene therapy", true);
        row("whole field is not inner", u"* gene *"_s, "gene", false);
        row("leading word", u"gene *"_s, "gene therapy", true);
        row("trailing word", u"* gene"_s, "the gene", true);
        row("trailing full stop", u"* gene"_s, "the gene.", false);
        row("phrase", u"* gene therapy *"_s, "new gene therapy now", true);
        row("user star", u"* gen* *"_s, "new genetic code", true);
        // Case.
        row("umlaut case", u"* Äpfel *"_s, "rote äpfel hier", true);
        row("accent case", u"*ÉTUDE*"_s, "une étude", true);
        row("ascii word in accented text", u"* gene *"_s, "Müller, gene études", true);
        row("ascii word beside accented letter", u"* gene *"_s, "Müller genež x", false);
        row("greek case", u"Σ*"_s, "σοφία", true);
        // Two letters outside ASCII fold into it: the Kelvin sign into k, the long s into s.
        row("kelvin sign is itself", u"\u212A"_s, "\u212A", true);
        row("long s is itself", u"*\u017F*"_s, "Ma\u017F", true);
        row("k stands for the kelvin sign", u"* k *"_s, "5 \u212A here", true);
        row("s stands for the long s", u"[r-t]"_s, "\u017F", true);
        // Single characters.
        row("question exactly one", u"ge?e"_s, "gee", false);
        row("question one", u"ge?e"_s, "gene", true);
        row("question non-ascii", u"stra?e"_s, "straße", true);
        row("hash digit", u"19##"_s, "1990", true);
        // Classes.
        row("class", u"[abc]at"_s, "bat", true);
        row("class miss", u"[abc]at"_s, "rat", false);
        row("class case", u"[abc]at"_s, "Cat", true);
        row("range", u"[a-f]*"_s, "Delta", true);
        row("negated", u"[!abc]at"_s, "rat", true);
        row("negated miss", u"[!abc]at"_s, "cat", false);
        row("star in class is literal", u"a[*]b"_s, "a*b", true);
        row("unmatched bracket is itself", u"*[x*"_s, "a[xyz", true);
        row("unmatched bracket literal miss", u"[x"_s, "x", false);
        // Stars.
        row("only star", u"*"_s, "", true);
        row("empty pattern text", u""_s, "a", false);
        row("stars collapse", u"a**b"_s, "ab", true);
        row("head and tail", u"ab*ba"_s, "abba", true);
        row("head and tail overlap", u"ab*ba"_s, "aba", false);
        row("middle pieces in order", u"*a*b*c*"_s, "xxaxxbxxc", true);
        row("exact", u"gene"_s, "GENE", true);
        row("percent is literal", u"a%"_s, "abc", false);
        row("underscore is literal", u"a_c"_s, "abc", false);
    }
    void matches()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, subject);
        QFETCH(bool, expected);
        const QByteArray p = pattern.toUtf8();
        const QByteArray s = subject.toUtf8();
        QCOMPARE(
            LikePattern(std::string_view(p.constData(), p.size())).matches(std::string_view(s.constData(), s.size())),
            expected);
    }

    // Word edges the records of the search tests do not show: characters outside ASCII
    // on either side of an ASCII word, combining marks, letters beyond the basic plane.
    void wholeWord_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("expected");
        row("guillemets", u"gene"_s, "«gene»", true);
        row("em dash and no-break space", u"gene"_s, "x—gene y", true);
        row("letter after", u"gene"_s, "genež", false);
        row("letter before", u"gene"_s, "ßgene", false);
        row("combining mark belongs to the word", u"gene"_s, "gené x", false);
        row("letter beyond the basic plane", u"gene"_s, "gene𝐀", false);
        row("Kelvin sign as k", u"kelvin"_s, "5 Kelvin.", true);
        row("later occurrence", u"gene"_s, "genes, gene", true);
        row("tail at the last word end", u"a*c"_s, "ab, abc cx", true);
        row("head must start a word", u"b*"_s, "ab", false);
        row("empty text", u"gene"_s, "", false);
    }
    void wholeWord()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, subject);
        QFETCH(bool, expected);
        const QByteArray p = pattern.toUtf8();
        const QByteArray s = subject.toUtf8();
        QCOMPARE(LikePattern(std::string_view(p.constData(), p.size()))
                     .matchesWholeWord(std::string_view(s.constData(), s.size())),
            expected);
    }

    void likeAndLetterCaseInStatements()
    {
        // Like, Not Like and quoted patterns run through the program's like; equality,
        // Distinct and Order by ignore letter case.
        TestProgramFolder folder;
        Database db(folder.makeBibliography(u"like.pyr"_s,
            {{{"Title", "Gene therapy today"}, {"Category", "Reviews"}, {"TitelS", "b"}},
                {{"Title", "Virus gene"}, {"Category", "reviews"}, {"TitelS", "A"}},
                {{"Title", "Cell biology"}, {"Category", "None"}, {"TitelS", "c"}},
                {{"Title", "Crohn's disease"}, {"Category", "None"}, {"TitelS", "d"}}}));
        const auto count = [&](const QString& where) {
            return RecordSet(db, "Select Abstracts.* From Abstracts Where " + where).recordCount();
        };
        QCOMPARE(count(u"(Abstracts.Title Like 'gene *') or (Abstracts.Title Like '* gene')"_s), 2);
        QCOMPARE(count(u"Abstracts.Title Not Like '*gene*'"_s), 2);
        QCOMPARE(count("Abstracts.Title Like " + sqlLiteral(u"Crohn's *"_s)), 1);
        QCOMPARE(count(u"Abstracts.Category = 'REVIEWS'"_s), 2);
        QCOMPARE(count(u"WholeWord(Abstracts.Title, 'GENE')"_s), 2);
        // No text, no answer: a NULL field is neither a match nor, negated, a miss.
        QCOMPARE(count(u"WholeWord(NULL, 'gene') Is Null And Not WholeWord('a', 'gene')"_s), 4);
        QCOMPARE(RecordSet(db, u"Select Distinct Abstracts.Category From Abstracts"_s).recordCount(), 2);
        RecordSet ordered(db, u"Select Abstracts.* From Abstracts Order by TitelS"_s);
        QCOMPARE(ordered.value(u"TitelS"_s), u"A"_s);
        ordered.moveNext();
        QCOMPARE(ordered.value(u"TitelS"_s), u"b"_s);
    }

    void quotingHelper_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        row("plain", u"Reviews"_s, "'Reviews'");
        row("one quote", u"Crohn's"_s, "'Crohn''s'");
        row("quotes only", u"''"_s, "''''''");
        row("empty", u""_s, "''");
    }
    void quotingHelper()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(sqlLiteral(text), literal);
        QCOMPARE(sqlLiteralBody(text), literal.mid(1, literal.size() - 2));
    }

    void walksInStatementOrder()
    {
        RecordSet rows(open(titled({"c", "a", "b"})), "Select Abstracts.* From Abstracts");
        QVERIFY(rows.updatable());
        QCOMPARE(rows.recordCount(), 3);
        QVERIFY(!rows.bof());
        QCOMPARE(rows.absolutePosition(), 0);
        QCOMPARE(rows.value("Title"), "c"); // order added
        rows.moveLast();
        QCOMPARE(rows.value(0), "b");
        rows.moveNext();
        QVERIFY(rows.eof());
        QVERIFY(!rows.hasCurrent());
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.value(0));
        rows.movePrevious();
        QCOMPARE(rows.absolutePosition(), 2);
        rows.setAbsolutePosition(1);
        QCOMPARE(rows.value("title"), "a");
        rows.moveFirst();
        rows.movePrevious();
        QVERIFY(rows.bof());
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.setAbsolutePosition(3));
        // Skipping passes the records there are, then none.
        QCOMPARE(rows.skip(1), 1);
        QCOMPARE(rows.value(0), "a");
        QCOMPARE(rows.skip(50), 2);
        QVERIFY(rows.eof());
        QCOMPARE(rows.skip(1), 0);
    }

    void emptySetIsBothEndsUntilARecordIsAdded()
    {
        RecordSet rows(open(), "Abstracts");
        QCOMPARE(rows.recordCount(), 0);
        QVERIFY(rows.eof());
        QVERIFY(rows.bof());
        QCOMPARE(rows.absolutePosition(), -1);
        rows.moveNext();
        rows.movePrevious();
        QVERIFY(rows.eof() && rows.bof());
        rows.addNew();
        rows.setValue(0, "only");
        rows.update();
        QCOMPARE(rows.recordCount(), 1);
        QCOMPARE(rows.absolutePosition(), 0);
        QCOMPARE(rows.value(0), "only");
    }

    void deleteLeavesNoCurrentUntilTheNextMove()
    {
        RecordSet rows(open(titled({"a", "b", "c"})), "Select Abstracts.* From Abstracts");
        rows.setAbsolutePosition(1);
        rows.deleteCurrent();
        QCOMPARE(rows.recordCount(), 2);
        QVERIFY(!rows.hasCurrent());
        QCOMPARE(rows.absolutePosition(), -1);
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.value(0));
        rows.moveNext();
        QCOMPARE(rows.value("Title"), "c");
        QCOMPARE(rows.absolutePosition(), 1);

        rows.deleteCurrent(); // the last one
        rows.moveNext();
        QVERIFY(rows.eof());
        rows.movePrevious();
        QCOMPARE(rows.value("Title"), "a");
        rows.addNew();
        rows.setValue("Title", "d");
        rows.update();
        rows.moveLast();
        rows.deleteCurrent();
        rows.movePrevious(); // from a deleted record back to the one before it
        QCOMPARE(rows.value("Title"), "a");
        QCOMPARE(titles(), QStringList{"a"});
    }

    void sideColumnFollowsTheSetOrderAndSlotsOutliveRemovals()
    {
        std::vector<TestRecord> records;
        for (const char* title : {"d", "a", "c", "b", "e"}) // sort keys tie but for the last
            records.push_back({{"Title", title}, {"TitelS", title == QByteArray("e") ? "a" : "t"}});
        const QString path = m_folder->makeBibliography("side.pyr", records);
        Database db(path);
        QStringList side;
        RecordSet rows(db, "Select Abstracts.* From Abstracts Order by TitelS", "Title",
            [&](const QString& value) { side << value; });
        QStringList walked;
        for (; !rows.eof(); rows.moveNext())
            walked << rows.value("Title");
        QCOMPARE(side, walked);
        rows.setAbsolutePosition(1);
        rows.deleteCurrent();
        rows.moveNext();
        QCOMPARE(rows.absolutePosition(), 1);
        QCOMPARE(rows.currentSlot(), 2);
        QCOMPARE(rows.value("Title"), side[2]);
        QVERIFY_THROWS_EXCEPTION(StoreError, RecordSet(db, "Select Abstracts.* From Abstracts", "Title", [](auto&) {}));
    }

    void addNewGoesToTheEndAndKeepsTheCurrentRecord()
    {
        RecordSet rows(open(titled({"a", "b"})), "Select Abstracts.* From Abstracts Order by Title");
        rows.moveFirst();
        rows.addNew();
        rows.setValue("Title", "0 first by title");
        rows.setValue("Category", "Crohn's");
        QCOMPARE(rows.value("Title"), "0 first by title");
        rows.update();
        QCOMPARE(rows.recordCount(), 3);
        QCOMPARE(rows.value("Title"), "a");
        QCOMPARE(rows.lastModifiedPosition(), 2);
        rows.moveLast();
        QCOMPARE(rows.value("Category"), "Crohn's");
        QCOMPARE(rows.value("Authors"), QString()); // never written
        QCOMPARE(readLines(m_path, "Select Title, Category, Authors From Abstracts Where Title Like '0%'"),
            QStringList{"0 first by title|Crohn's|"});
    }

    void editUpdatesOnlyTheCurrentRow()
    {
        RecordSet rows(open(titled({"a", "b"})), "Abstracts");
        rows.moveLast();
        rows.edit();
        rows.setValue("Title", "B changed");
        rows.update();
        QCOMPARE(rows.value("Title"), "B changed");
        rows.edit();
        rows.setValue("Title", "discarded");
        rows.cancelUpdate();
        QCOMPARE(rows.value("Title"), "B changed");
        rows.edit();
        rows.setValue("Title", "left by moving");
        rows.moveFirst();
        rows.moveLast();
        QCOMPARE(rows.value("Title"), "B changed");
        QCOMPARE(titles(), (QStringList{"a", "B changed"}));
        QVERIFY_THROWS_EXCEPTION(StoreError, rows.setValue(0, "without edit"));
    }

    void theStatementDecidesWhatCanBeWritten()
    {
        open({{{"Title", "b order by x"}, {"Category", "A"}}, {{"Title", "a"}, {"Category", "B"}},
            {{"Title", "c"}, {"Category", "A"}}});
        RecordSet categories(*m_db, "Select Distinct Abstracts.Category From Abstracts");
        QVERIFY(!categories.updatable());
        QCOMPARE(categories.recordCount(), 2);
        QCOMPARE(categories.columnNames(), QStringList({"Category"}));
        QVERIFY_THROWS_EXCEPTION(StoreError, categories.addNew());
        // A literal that reads like a clause does not fool the statement reader.
        RecordSet rows(
            *m_db, "Select Abstracts.* From Abstracts Where Abstracts.Title Like '* order by *' or Title = 'a'");
        QVERIFY(rows.updatable());
        QCOMPARE(rows.recordCount(), 2);
        QCOMPARE(rows.value("Title"), "b order by x"); // no order: as added
    }

    void statementsAndBatches()
    {
        Database& db = open({{{"Category", "x"}}, {{"Category", "y"}}, {{"Category", "x"}}});
        QCOMPARE(db.execute("Delete Abstracts.* From Abstracts Where Category = 'x'"), 2);
        {
            Database::Transaction batch(db);
            db.execute("Update Abstracts SET Category = 'z'");
            // not committed: rolled back when the batch ends
        }
        QCOMPARE(readLines(m_path, "Select Category From Abstracts"), QStringList{"y"});
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
        row("read", u"BEGIN EXCLUSIVE"_s, "read", QStringList{"a", "b"});
        row("add", u"BEGIN IMMEDIATE"_s, "add", QStringList{"a", "b", "c"});
        row("edit", u"BEGIN IMMEDIATE"_s, "edit", QStringList{"a", "c"});
        row("delete", u"BEGIN IMMEDIATE"_s, "delete", QStringList{"a"});
    }
    void aFailedCallLeavesNoLockAndTheRetrySucceeds()
    {
        QFETCH(QString, lock);
        QFETCH(QString, operation);
        QFETCH(QStringList, stored);
        open(titled({"a", "b"})).setBusyTimeout(0);
        RecordSet rows(*m_db, "Abstracts");
        rows.moveLast();
        if (operation == "add")
            rows.addNew();
        if (operation == "edit")
            rows.edit();
        if (rows.editing())
            rows.setValue(0, "c");
        const auto attempt = [&] {
            if (operation == "read")
                QCOMPARE(rows.value(0), "b");
            else if (operation == "delete")
                rows.deleteCurrent();
            else
                rows.update();
        };
        OtherConnection other(m_path, lock.toUtf8().constData());
        other.run("UPDATE Abstracts SET Category = 'busy' WHERE Title = 'a'");
        QVERIFY_THROWS_EXCEPTION(StoreError, attempt());
        QCOMPARE(rows.absolutePosition(), 1);
        other.run("COMMIT"); // possible only when the failed call let go of the file
        attempt();
        QCOMPARE(titles(), stored);
    }

    void writesNeverLandOnAnotherRecord_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("reused");
        row("edit, row gone", false, false);
        row("edit, row id reused", false, true);
        row("delete, row gone", true, false);
        row("delete, row id reused", true, true);
    }
    void writesNeverLandOnAnotherRecord()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, reused);
        RecordSet rows(open(titled({"a", "b"})), "Abstracts");
        rows.moveLast();
        QCOMPARE(rows.value(0), "b");
        OtherConnection other(m_path, "DELETE FROM Abstracts WHERE Title = 'b'");
        if (reused) // the deleted row had the highest id, so the next row gets it again
            other.run("INSERT INTO Abstracts (Title) VALUES ('new')");
        if (!deleting) {
            rows.edit();
            rows.setValue(0, "written");
        }
        QCOMPARE(thrownText<StoreError>([&] { deleting ? rows.deleteCurrent() : rows.update(); }), ChangedOutside);
        QCOMPARE(titles(), reused ? QStringList({"a", "new"}) : QStringList({"a"}));
    }

    void valuesComeBackAsStored()
    {
        const QString path = m_folder->makeBibliography("other.pyr", titled({"a"}));
        OtherConnection(path,
            "ALTER TABLE Abstracts ADD COLUMN Extra TEXT NOT NULL DEFAULT 'kept'; "
            "UPDATE Abstracts SET Keywords = CAST('gene' AS BLOB), Publishing_year = '0042'");
        Database db(path);
        RecordSet rows(db, "Abstracts");
        QCOMPARE(rows.value("Keywords"), "gene");
        rows.addNew();
        rows.setValue("Publishing_year", "0042");
        rows.update();
        QCOMPARE(readLines(path, "Select Publishing_year, Extra From Abstracts"), QStringList(2, "0042|kept"));
    }

    void deletingWhileWalkingKeepsPositionsAndPreparesOnce()
    {
        std::vector<TestRecord> records;
        QStringList model;
        for (int i = 0; i < 60; ++i) {
            model << QString::number(i);
            records.push_back({{"Title", model.back()}});
        }
        Database& db = open(records);
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
        QCOMPARE(titles(), model);
        QCOMPARE(runsOf(db, "DELETE"), deleted);
        QCOMPARE(runsOf(db, "UPDATE"), 3);
        QCOMPARE(runsOf(db, "INSERT"), 3);
    }

    void bindingKeepsItsSetWhenARefreshFails()
    {
        DataBinding binding(m_folder->openBibliography(m_folder->makeBibliography("binding.pyr", titled({"a"}))));
        binding.setRecordSource("Select Abstracts.* From Abstracts");
        binding.refresh();
        binding.setRecordSource("Select Abstracts.* From Abstracts Where ((Title = 'a')"); // an unpaired bracket
        QCOMPARE(thrownText<StoreError>([&] { binding.refresh(); }), "incomplete input");
        QCOMPARE(binding.recordset().recordCount(), 1);
    }

    void writeAheadLoggingIsTurnedBackIntoOneFile()
    {
        const QString path = m_folder->makeBibliography("wal.pyr", titled({"a"}));
        OtherConnection(path, "PRAGMA journal_mode = WAL");
        Database db(path);
        db.execute("Update Abstracts SET Title = 'b'");
        QCOMPARE(readLines(path, "PRAGMA journal_mode"), QStringList{"delete"});
        QVERIFY(!QFile::exists(path + "-wal"));
    }

    void columnNameForm_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("column");
        row("title is the sort key", u"Title"_s, "TitelS");
        row("blank to underscore", u"Publishing year"_s, "Publishing_year");
        row("two blanks", u"Publication type"_s, "Publication_type");
        row("none stays", u"None"_s, "None");
        row("language", u"Language"_s, "Language");
    }
    void columnNameForm()
    {
        QFETCH(QString, display);
        QFETCH(QString, column);
        QCOMPARE(papyrant::columnNameForm(display), column);
    }

    void holderRule_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("held");
        row("plain", "Gene therapy", 250, "Gene therapy");
        row("line breaks and blanks both ends", "\r\n  Gene therapy \r\n", 250, "Gene therapy");
        row("tabs stay", "\tGene\t", 250, "\tGene\t");
        row("cut before strip", "abc   def", 5, "abc");
        row("cut keeps leading blank strip", "  abcdef", 4, "ab");
        row("only blanks", " \r\n ", 250, "");
        row("inner line breaks stay", "a\r\nb", 250, "a\r\nb");
        row("300 to 250", QString(300, QLatin1Char('x')), 250, QString(250, QLatin1Char('x')));
    }
    void holderRule()
    {
        QFETCH(QString, value);
        QFETCH(int, limit);
        QFETCH(QString, held);
        QCOMPARE(holdText(value, limit), held);
    }

    void todayComesFromTheClock()
    {
        {
            FixedClock fixed(QDate(2026, 3, 9));
            QCOMPARE(todayText(), QLocale::system().toString(QDate(2026, 3, 9), QLocale::ShortFormat));
        }
        QCOMPARE(currentClock().today(), QDate::currentDate());
    }

    void missingFilesAreNotCreated()
    {
        const QString path = m_folder->filePath("nowhere.pyr");
        QVERIFY_THROWS_EXCEPTION(StoreError, Database{path});
        QVERIFY(!QFile::exists(path));
    }

private:
    // A bibliography of these records, open; m_path names it.
    Database& open(const std::vector<TestRecord>& records = {})
    {
        m_path = m_folder->makeBibliography("records.pyr", records);
        m_db = std::make_unique<Database>(m_path);
        return *m_db;
    }
    QStringList titles() const { return readLines(m_path, "Select Title From Abstracts"); }

    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_RecordSet.moc"
