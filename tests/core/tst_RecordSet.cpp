// The store: the Like operator (wildcards, classes and case-blind matching, alone and in
// SQL) and the quoting of literals; record sets (keyset positioning, adding, editing,
// deleting and batches); the record model's column-name form, holder rule and clock; and
// creating and opening bibliographies, with every message the user sees.

#include "core/BibliographyCheck.h"
#include "core/BibliographyFiles.h"
#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/LikeMatcher.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "support/FixedClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
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
const QString CreateDialog = u"Create new Papyrant File|Papyrant File (*.pyr)|*.pyr|save:"_s;
const QString CantCreate = u"Papyrant|The new bibliography can't be created.\n%1|Ok/None/Ok"_s;

} // namespace

class RecordSetTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup()
    {
        m_db.reset();
        m_prompts.reset();
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
        row("phrase", u"* gene therapy *"_s, "new gene therapy now", true);
        row("user star", u"* gen* *"_s, "new genetic code", true);
        // Case.
        row("umlaut case", u"* Äpfel *"_s, "rote äpfel hier", true);
        row("ascii word in accented text", u"* gene *"_s, "Müller, gene études", true);
        row("ascii word beside accented letter", u"* gene *"_s, "Müller genež x", false);
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

    void createCopiesTheTemplateAndNamesIt()
    {
        const QString target = m_folder->filePath("bibliography1.pyr");
        m_prompts->answerFile(target);
        QCOMPARE(createBibliography(*m_prompts, programState(), bibliography()).value_or("failed"),
            "bibliography name is: bibliography1, contains no records");
        QCOMPARE(m_prompts->described(), QStringList{CreateDialog + "bibliography1"});
        QCOMPARE(readFileBytes(target), readFileBytes(m_folder->filePath("VarEdoRecors")));
        QCOMPARE(bibliography().BibName(), "bibliography1");
        QCOMPARE(bibliography().BibPath(), target);
    }

    void replacingAsksAndNoShowsTheDialogAgain_data()
    {
        QTest::addColumn<QString>("fileName");
        row("a bibliography", u"refs.pyr"_s);
        row("a file of another kind", u"notes.txt"_s);
    }
    void replacingAsksAndNoShowsTheDialogAgain()
    {
        QFETCH(QString, fileName);
        const QString existing = m_folder->makeBibliography(fileName, {{{"Title", "kept"}}});
        const QByteArray before = readFileBytes(existing);
        m_prompts->answerFile(existing);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->cancelFile();
        QVERIFY(!createBibliography(*m_prompts, programState(), bibliography()));
        QCOMPARE(m_prompts->described(),
            (QStringList{CreateDialog + "bibliography1",
                "Papyrant|You already have file called \"" + fileName
                    + "\"\nDo you want to replace it?|YesNo/Question/No",
                CreateDialog + fileName.chopped(4)}));
        QCOMPARE(readFileBytes(existing), before);
        QVERIFY(bibliography().BibName().isEmpty());
    }

    void replacingWithYesEmptiesTheFileAndLeavesNoJournal()
    {
        const QString existing = m_folder->makeBibliography("refs.pyr", {{{"Title", "gone"}}});
        // The old file's journal, as a program that ended half way through a change left it.
        const QString journal = existing + "-journal";
        {
            OtherConnection writer(existing,
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                "INSERT INTO Abstracts (Title, Abstract) SELECT 'gone ' || i, hex(randomblob(400)) FROM n");
            writer.run("PRAGMA cache_size = 1");
            writer.run("BEGIN");
            writer.run("DELETE FROM Abstracts"); // spilled: the journal is synced
            QVERIFY(QFile::copy(journal, journal + ".left"));
        }
        QVERIFY(QFile::rename(journal + ".left", journal));
        m_prompts->answerFile(existing);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(createBibliography(*m_prompts, programState(), bibliography()).value_or("failed"),
            "bibliography name is: refs, contains no records");
        QVERIFY(readRows(existing, "Select Title From Abstracts").empty());
        QCOMPARE(readRows(existing, "PRAGMA integrity_check").front().front(), "ok");
        QVERIFY(!QFile::exists(journal));
    }

    void cancellingChangesNothing()
    {
        m_prompts->cancelFile();
        m_prompts->cancelFile();
        bibliography().open(m_folder->filePath("before.pyr"), "before");
        QVERIFY(!createBibliography(*m_prompts, programState(), bibliography()));
        QVERIFY(!openBibliography(*m_prompts, bibliography()));
        QCOMPARE(bibliography().BibName(), "before");
        QVERIFY(m_prompts->messages().isEmpty());
    }

    void createFailures_data()
    {
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<QString>("made"); // what stands in the way, if anything
        QTest::addColumn<QString>("reason");
        row("missing template", u"new.pyr"_s, u"no template"_s,
            "some of assistant files couldn't be found\nTry to close the program "
            "then run it again from start\\programs menu and try again\nIf the "
            "problem persist try to setup the program once again.");
        row("title too short", u"a.b"_s, u""_s, "the file name \"a.b\" is too short to end in \".pyr\"");
        row("missing folder", u"no/such/folder/x.pyr"_s, u""_s, "No such file or directory");
        row("read-only file", u"locked.pyr"_s, u"read-only"_s, "Permission denied");
    }
    void createFailures()
    {
        QFETCH(QString, fileTitle);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        const QString path = m_folder->filePath(fileTitle);
        if (made == "no template")
            QVERIFY(QFile::remove(m_folder->filePath("VarEdoRecors")));
        if (made == "read-only") {
            m_folder->makeBibliography(fileTitle, {{{"Title", "kept"}}});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
            m_prompts->answerMessage(PromptButton::Yes); // replace it
        }
        m_prompts->answerFile(path);
        QVERIFY(!createBibliography(*m_prompts, programState(), bibliography()));
        QCOMPARE(m_prompts->described().size(), made == "read-only" ? 3 : 2); // dialog, replace question, failure
        QCOMPARE(m_prompts->described().back(), CantCreate.arg(reason));
        QVERIFY(bibliography().BibName().isEmpty());
        QVERIFY(bibliography().BibPath().isEmpty());
        if (made == "read-only") {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(readRows(path, "Select Title From Abstracts").size(), std::size_t(1));
        }
    }

    void openShowsNameAndCount_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("status");
        row("none", u"empty.pyr"_s, 0, "bibliography name is: empty, contains no records");
        row("several", u"many.pyr"_s, 7, "bibliography name is: many, contains 7 records");
        row("other extension", u"notes.db"_s, 2, "bibliography name is: note, contains 2 records");
        row("quote in name", u"Crohn's.pyr"_s, 1, "bibliography name is: Crohn's, contains 1 records");
    }
    void openShowsNameAndCount()
    {
        QFETCH(QString, fileName);
        QFETCH(int, records);
        QFETCH(QString, status);
        const QString path = m_folder->makeBibliography(fileName, std::vector<TestRecord>(records, {{"Title", "t"}}));
        m_prompts->answerFile(path);
        QCOMPARE(openBibliography(*m_prompts, bibliography()).value_or("failed"), status);
        QCOMPARE(m_prompts->described(), QStringList{"Open Papyrant File|Papyrant File (*.pyr)|*.pyr|open:"});
        QCOMPARE(bibliography().BibPath(), path);
    }

    void openFailures_data()
    {
        // What lies under the chosen name: "bytes:" content, "sql:" a database made by
        // another tool, "folder" or "loop" (a symbolic link to itself).
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("reason");
        const QString table = "sql:CREATE TABLE Abstracts (%1Title TEXT, Authors TEXT, Author_address TEXT, "
                              "Source TEXT, Publishing_year %2, Keywords TEXT, Publication_type TEXT, Language TEXT, "
                              "Abstract TEXT, Personal TEXT, Entry_Date TEXT, Category TEXT, TitelS TEXT)";
        row("not a database", u"bad.pyr"_s, "bytes:" + QString("Title: gene\r\nAuthors: Smith J\r\n").repeated(40),
            "file is not a database");
        row("no Abstracts table", u"labels.pyr"_s, u"sql:CREATE TABLE abbreviations (Name TEXT)"_s,
            "no such table: Abstracts");
        row("title too short", u"abc"_s, u"bytes:"_s, "the file name \"abc\" is too short to end in \".pyr\"");
        row("folder", u"x.pyr"_s, u"folder"_s, "%1 is a folder, not a file");
        row("link loop", u"loop.pyr"_s, u"loop"_s, "%1 cannot be reached: Too many levels of symbolic links");
        row("view", u"view.pyr"_s, u"sql:CREATE TABLE t (x); CREATE VIEW Abstracts AS SELECT * FROM t"_s,
            "Abstracts is a view, not an ordinary table");
        row("without row ids", u"wr.pyr"_s,
            QString(table).replace("Title TEXT", "Title TEXT PRIMARY KEY").arg("", "TEXT") + " WITHOUT ROWID",
            "Abstracts is a table without row ids, not an ordinary table");
        row("missing column", u"cols.pyr"_s, QString(table).remove("Keywords TEXT, ").arg("", "TEXT"),
            "the table Abstracts has no column Keywords");
        row("numeric column", u"int.pyr"_s, table.arg("", "INTEGER"),
            "the column Publishing_year of the table Abstracts is declared INTEGER, not as text");
        row("columns in another order", u"order.pyr"_s,
            QString(table).remove(", Authors TEXT").arg("Authors TEXT, ", "TEXT"),
            "the table Abstracts has the column Authors where Title belongs");
        const QString notNull = "the column Shelf of the table Abstracts is NOT NULL without a default, so no record "
                                "could be added";
        row("NOT NULL column after the record's", u"shelf.pyr"_s,
            QString(table).replace("TitelS TEXT", "TitelS TEXT, Shelf TEXT NOT NULL").arg("", "TEXT"), notNull);
    }
    void openFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        const QString path = m_folder->filePath(fileName);
        if (made == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (made == "loop")
            QVERIFY(QFile::link(path, path));
        else if (made.startsWith("sql:"))
            OtherConnection(path, made.mid(4).toUtf8().constData());
        else
            writeFileBytes(path, made.mid(6).toUtf8());
        const QByteArray before = readFileBytes(path);
        bibliography().open(m_folder->filePath("previous.pyr"), "previous");
        m_prompts->answerFile(path);
        QVERIFY(!openBibliography(*m_prompts, bibliography()));
        QCOMPARE(m_prompts->messages(), QStringList{"Can't open this file\n" + QString(reason).replace("%1", path)});
        // The bibliography open before is still the open one.
        QCOMPARE(bibliography().BibName(), "previous");
        QCOMPARE(readFileBytes(path), before);
    }

    // Columns after the record's that an add leaves to the engine do not stop a file.
    void extraColumnsAnAddCanFill_data()
    {
        QTest::addColumn<QString>("extra");
        row("NOT NULL with a default", u"Shelf TEXT NOT NULL DEFAULT 'A1'"_s);
        row("row id key", u"Id INTEGER PRIMARY KEY NOT NULL"_s);
    }
    void extraColumnsAnAddCanFill()
    {
        QFETCH(QString, extra);
        const QString path = m_folder->filePath("extra.pyr");
        const QStringList columns(columnNames().begin(), columnNames().end());
        OtherConnection(path,
            ("CREATE TABLE Abstracts (" + columns.join(" TEXT, ") + " TEXT, " + extra + ")").toUtf8().constData());
        m_folder->openBibliography(path);
        checkBibliography(bibliography().database());
        RecordSet table(bibliography().database(), "Abstracts");
        table.addNew();
        table.setValue("Title", "Added");
        table.update();
        QCOMPARE(readLines(path, "SELECT Title FROM Abstracts"), QStringList{"Added"});
    }

    void openingALockedBibliographyReportsTheLock()
    {
        const QString path = m_folder->makeBibliography("busy.pyr", {{{"Title", "t"}}});
        OtherConnection other(path, "BEGIN EXCLUSIVE; UPDATE Abstracts SET Title = 'changing'");
        m_prompts->answerFile(path);
        QVERIFY(!openBibliography(*m_prompts, bibliography()));
        QCOMPARE(m_prompts->messages(), QStringList{"Can't open this file\ndatabase is locked"});
        other.close();
        QCOMPARE(readRows(path, "Select Title From Abstracts")[0][0], "t");
    }

    // The one reader of the category list: the engine's order, and an unreadable file
    // reported with its fixed sentence, leaving the list empty.
    void categoriesAreReadOnceForEveryScreen()
    {
        m_folder->openBibliography(m_folder->makeBibliography(
            "shelf.pyr", {{{"Category", "soil"}}, {{"Category", "Crohn's"}}, {{"Category", "soil"}}}));
        QCOMPARE(bibliography().refreshCategories(*m_prompts), (QStringList{"Crohn's", "soil"}));
        // Categories another tool stored as bytes are their text: listed once, in any case.
        OtherConnection(bibliography().BibPath(),
            "INSERT INTO Abstracts (Category) VALUES (CAST('SOIL' AS BLOB)), (x'7065C3A174')");
        QCOMPARE(bibliography().refreshCategories(*m_prompts), (QStringList{"Crohn's", "soil", u"peát"_s}));
        m_folder->openBibliography(writeFileBytes(m_folder->filePath("broken.pyr"), "no bibliography, only words"));
        QVERIFY(bibliography().refreshCategories(*m_prompts).isEmpty());
        QCOMPARE(m_prompts->messages(), QStringList{"The categories could not be read.\nfile is not a database"});
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
    Bibliography& bibliography() { return m_folder->bibliography(); }

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts; // the boxes of create and open
    QString m_path;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_RecordSet.moc"
