// Working on results, read back through bare SQLite: walking, saving and removing single
// records, and on the whole result a category for every record, the copy into another
// bibliography and the deletion; and saving result pages: proposed names, rich text read
// back by an independent reader (unrtf), the plain-text choice, the replace question and
// the failures of a "Save all" run. The boxes the whole-result work asks, the copy into a
// new bibliography and the whole "Save all" run are worked through the screen (tst_ReportForm).

#include "core/DataBinding.h"
#include "core/RecordModel.h"
#include "core/ResultKeys.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"
#include "search/ResultEditing.h"
#include "search/ResultFiles.h"
#include "search/RtfWriter.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(papyrant::NavigationButtons)

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

// One character as a reader shows it: the letter, its colour and its weight.
struct Shown {
    QChar c;
    quint32 rgb;
    bool bold;
    bool operator==(const Shown&) const = default;
};

// Walks unrtf's HTML: <font color> and <b> nest, <br> is a line break, entities are
// letters. unrtf folds runs of blanks, so blanks are left out on both sides.
QList<Shown> shownByUnrtf(const QString& html)
{
    static const QHash<QString, QChar> named{{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'},
        {"uuml", QChar(0xFC)}, {"szlig", QChar(0xDF)}, {"eacute", QChar(0xE9)}};
    static const QRegularExpression token(QStringLiteral(R"(<(/?)(\w+)([^>]*)>|&#(\d+);|&(\w+);|([^<&]))"));
    const QString body = html.mid(html.indexOf(QLatin1String("<body>")) + 6);
    QList<quint32> colours{BlackRgb};
    QList<bool> fontHasColour;
    int bold = 0;
    QList<Shown> shown;
    auto add = [&](QChar c) {
        if (c != u' ')
            shown.append({c, colours.last(), bold > 0});
    };
    for (auto it = token.globalMatch(body); it.hasNext();) {
        const auto m = it.next();
        const QString tag = m.captured(2);
        if (tag == u"font" && m.captured(1).isEmpty()) {
            static const QRegularExpression colour(QStringLiteral("color=\"#([0-9a-f]{6})\""));
            const auto c = colour.match(m.captured(3));
            fontHasColour.append(c.hasMatch());
            if (c.hasMatch())
                colours.append(c.captured(1).toUInt(nullptr, 16));
        } else if (tag == u"font" && !fontHasColour.isEmpty() && fontHasColour.takeLast()) {
            colours.removeLast();
        } else if (tag == u"b") {
            bold += m.captured(1).isEmpty() ? 1 : -1;
        } else if (tag == u"br") {
            add(u'\n');
        } else if (!m.captured(4).isEmpty()) {
            add(QChar(m.captured(4).toUShort()));
        } else if (!m.captured(5).isEmpty()) {
            add(named.value(m.captured(5), u'#'));
        } else if (!m.captured(6).isEmpty() && m.captured(6) != u"\n") {
            add(m.captured(6)[0]);
        }
    }
    return shown;
}

// What the page should look like: marks applied in order, the later winning.
QList<Shown> expectedLook(const QString& text, const ColourMarks& marks)
{
    QList<Shown> look;
    for (qsizetype i = 0; i < text.size(); ++i) {
        Shown s{text[i], BlackRgb, false};
        for (const ColourMark& mark : marks) {
            if (i >= mark.start && i < mark.start + mark.length)
                s = {text[i], mark.rgb, mark.bold};
        }
        if (s.c != u' ')
            look.append(s);
    }
    return look;
}

} // namespace

class ResultManagementTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_bibliography;
    std::unique_ptr<DataBinding> m_results;
    // The editing tests' own result set.
    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_set;
    ResultsState m_state;

    // A bibliography of records T1 ... T<count> as the result set, at record `current`.
    void open(int count = 10, int current = 1)
    {
        m_set.reset();
        m_db.reset();
        std::vector<TestRecord> records;
        for (int k = 1; k <= count; ++k)
            records.push_back({{"Title", u"T%1"_s.arg(k)}, {"TitelS", u"T%1"_s.arg(k)}, {"Category", "None"}});
        m_path = m_folder->makeBibliography(QStringLiteral("results.pyr"), records);
        m_db = std::make_unique<Database>(m_path);
        m_set = std::make_unique<RecordSet>(*m_db, QStringLiteral("Select Abstracts.* From Abstracts"));
        m_state = ResultsState{};
        m_state.ResultCount = count;
        QVERIFY(goToRecord(*m_set, m_state, current).has_value());
    }
    QString currentTitle() const { return m_set->value(QStringLiteral("Title")); }

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
        m_set.reset();
        m_db.reset();
        m_results.reset();
        m_folder.reset();
    }

    void categoryForEveryResult_data()
    {
        QTest::addColumn<QString>("category");
        row("plain", "Reviews");
        row("with a quote", "Crohn's");
    }
    void categoryForEveryResult()
    {
        QFETCH(QString, category);
        m_results->recordset().setAbsolutePosition(1);
        QCOMPARE(putResultsIntoCategory(*m_results, category), 3);
        QCOMPARE(m_results->recordset().absolutePosition(), 1);
        QCOMPARE(m_results->recordset().value("Title"), "Title of 3");
        QCOMPARE(m_results->recordset().value("Category"), category);
        // Its own writes leave the keys right: a later edit needs no check of its row.
        QVERIFY(m_results->recordset().resultKeys().stamp == m_results->database().changeStamp());
        QCOMPARE(readLines(m_bibliography, "SELECT Category FROM Abstracts ORDER BY rowid"),
            (QStringList{category, "Methods", category, category, "None"}));
    }

    // The open bibliography under any name it has on the disk is refused as the target.
    void copyIntoItselfIsRefused_data()
    {
        QTest::addColumn<QString>("spelling");
        row("its own name", "same");
        row("through another folder spelling", "dotted");
        row("a link", "link");
        row("a second hard link", "hard");
    }
    void copyIntoItselfIsRefused()
    {
        QFETCH(QString, spelling);
        const QFileInfo source(m_bibliography);
        QString target = m_bibliography;
        if (spelling == "dotted") {
            target = source.absolutePath() + "/./../" + source.dir().dirName() + "/meadows.pyr";
        } else if (spelling == "link") {
            target = source.absolutePath() + "/pointer.pyr";
            QVERIFY(QFile::link(m_bibliography, target));
        } else if (spelling == "hard") {
            target = source.absolutePath() + "/twin.pyr";
            QCOMPARE(::link(QFile::encodeName(m_bibliography).constData(), QFile::encodeName(target).constData()), 0);
        }
        ScriptedPrompts prompts;
        prompts.answerFile(target);
        QVERIFY(!startResultCopy(prompts, m_folder->state(), m_results->database(), m_results->recordset()));
        QCOMPARE(prompts.messages(), QStringList{copyIntoItselfText(QFileInfo(target).fileName())});
        QCOMPARE(copyIntoItselfText("x.pyr"),
            "\"x.pyr\" is the open bibliography: the results are in it already.\n"
            "Choose another bibliography to copy them to.");
        QCOMPARE(readLines(m_bibliography, "SELECT count(*) FROM Abstracts"), QStringList{"5"});
    }

    void copyIntoAMissingFileDeclinedMakesNone()
    {
        const QString target = m_folder->filePath("missing.pyr");
        ScriptedPrompts prompts;
        prompts.answerFile(target);
        prompts.answerMessage(PromptButton::No);
        QVERIFY(!startResultCopy(prompts, m_folder->state(), m_results->database(), m_results->recordset()));
        QCOMPARE(prompts.messages().value(1), "the file " + target + " does not exist");
        QVERIFY(!QFile::exists(target));
    }

    void engineErrorKeepsCommittedTicks_data()
    {
        QTest::addColumn<int>("commitInterval");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QStringList>("soilLeft");
        row("commit every tick", 0, QStringList{"Title of 1"}, QStringList{"Title of 3", "Title of 4"});
        row("first tick not committed yet", 3600000, QStringList{},
            QStringList{"Title of 1", "Title of 3", "Title of 4"});
    }
    void engineErrorKeepsCommittedTicks()
    {
        QFETCH(int, commitInterval);
        QFETCH(QStringList, copied);
        QFETCH(QStringList, soilLeft);
        const std::chrono::milliseconds interval(commitInterval);
        const TickBudget oneRecord(std::chrono::milliseconds(0));
        const QString target = m_folder->makeBibliography("locked.pyr");
        ResultCopy copy(m_results->database(), m_results->recordset().resultKeys(), target, "locked.pyr", interval);
        QCOMPARE(copy.step(oneRecord), StepOutcome::more());
        OtherConnection reader(target, ReadLock);
        QCOMPARE(runToEnd(copy), StepOutcome::failed("database is locked"));
        reader.close();
        QCOMPARE(
            copy.outcomeText(), QString::number(copied.size()) + " records were copied to locked.pyr bibliography");
        QCOMPARE(readLines(target, "SELECT Title FROM Abstracts"), copied);

        ResultDeletion deletion(m_results->database(), m_results->recordset().resultKeys(), interval);
        QCOMPARE(deletion.step(oneRecord), StepOutcome::more());
        OtherConnection otherReader(m_bibliography, ReadLock);
        QCOMPARE(runToEnd(deletion), StepOutcome::failed("database is locked"));
        otherReader.close();
        QCOMPARE(deletion.remaining(), soilLeft.size());
        QCOMPARE(readLines(m_bibliography, "SELECT Title FROM Abstracts WHERE Keywords = 'soil'"), soilLeft);
    }

    // Another program deletes a found record and adds one under its key, before the work
    // starts or between its ticks: the newcomer, which the search would not find, stays
    // untouched and is counted as passed over.
    void staleKeysTouchOnlyRowsThatStillMatch_data()
    {
        QTest::addColumn<QString>("work");
        QTest::addColumn<bool>("betweenTicks");
        QTest::addColumn<QString>("check"); // read from the bibliography, or from the copy's target
        QTest::addColumn<QStringList>("expected");
        const QStringList left{"Title of 2", "Intruder", "Title of 5"};
        const QStringList touched{"Title of 1", "Title of 4"};
        for (bool between : {false, true}) {
            const char* when = between ? " between ticks" : " before the start";
            QTest::addRow("delete all%s", when) << "delete" << between << "SELECT Title FROM Abstracts" << left;
            QTest::addRow("category%s", when)
                << "category" << between << "SELECT Title FROM Abstracts WHERE Category = 'Reviews'" << touched;
            QTest::addRow("copy%s", when) << "copy" << between << "" << touched;
        }
    }
    void staleKeysTouchOnlyRowsThatStillMatch()
    {
        QFETCH(QString, work);
        QFETCH(bool, betweenTicks);
        QFETCH(QString, check);
        QFETCH(QStringList, expected);
        const QString target = m_folder->makeBibliography("target.pyr");
        const auto intrude = [&] {
            OtherConnection(m_bibliography,
                "DELETE FROM Abstracts WHERE rowid = 3; INSERT INTO Abstracts (rowid, Title, Keywords) VALUES (3, "
                "'Intruder', 'water')");
        };
        if (!betweenTicks)
            intrude();
        const std::chrono::milliseconds everyTick(0);
        Database& db = m_results->database();
        const ResultKeys keys = m_results->recordset().resultKeys();
        std::unique_ptr<Stepper> run;
        std::function<std::int64_t()> skipped;
        if (work == "delete") {
            auto deletion = std::make_unique<ResultDeletion>(db, keys, everyTick);
            skipped = [d = deletion.get()] { return d->skipped(); };
            run = std::move(deletion);
        } else if (work == "category") {
            auto category = std::make_unique<ResultCategoryRun>(db, keys, "Reviews", everyTick);
            skipped = [c = category.get()] { return c->skipped(); };
            run = std::move(category);
        } else {
            auto copy = std::make_unique<ResultCopy>(db, keys, target, "target.pyr", everyTick);
            skipped = [c = copy.get()] { return c->skipped(); };
            run = std::move(copy);
        }
        if (betweenTicks) {
            QCOMPARE(run->step(TickBudget(std::chrono::milliseconds(0))), StepOutcome::more()); // key 1 alone
            intrude();
        }
        QCOMPARE(runToEnd(*run), StepOutcome::done());
        QCOMPARE(skipped(), 1);
        run.reset();
        QCOMPARE(check.isEmpty() ? readLines(target, "SELECT Title FROM Abstracts")
                                 : readLines(m_bibliography, check + " ORDER BY rowid"),
            expected);
        QCOMPARE(
            readLines(m_bibliography, "SELECT Keywords FROM Abstracts WHERE Title = 'Intruder'"), QStringList{"water"});
        QCOMPARE(skippedRecordsText(1),
            "The bibliography was changed by another program since the search: 1 records no longer matched it and "
            "were left alone.");
    }

    void remove_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<NavigationButtons>("buttons");
        row("third of ten", 10, 3, u"T2"_s, "Record no. 2 of 9", NavigationButtons{true, true});
        row("first", 10, 1, u"T2"_s, "Record no. 1 of 9", NavigationButtons{false, true});
        row("last", 10, 10, u"T9"_s, "Record no. 9 of 9", NavigationButtons{true, false});
        row("second of two", 2, 2, u"T1"_s, "Record no. 1 of 1", NavigationButtons{false, false});
        row("the only one", 1, 1, u""_s, "All records were deleted", NavigationButtons{});
    }
    void remove()
    {
        QFETCH(int, count);
        QFETCH(int, removed);
        QFETCH(QString, current);
        QFETCH(QString, counter);
        QFETCH(NavigationButtons, buttons);
        open(count, removed);
        const EditPosition position = removeCurrentRecord(*m_set, m_state);
        QCOMPARE(position.counter, counter);
        QCOMPARE(position.buttons, buttons);
        QCOMPARE(m_state.ResultCount, count - 1);
        QCOMPARE(m_set->recordCount(), count - 1);
        QVERIFY(m_state.ResultsChanged);
        QCOMPARE(LoadEditFields(*m_set).texts[Title], current);
        const QStringList left = readLines(m_path, u"SELECT Title FROM Abstracts"_s);
        QCOMPARE(left.size(), count - 1);
        QVERIFY(!left.contains(u"T%1"_s.arg(removed)));
    }

    void goToClamps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("recordNo");
        QTest::addColumn<QString>("shown");
        row("nothing", "", 1, "1");
        row("zero", "0", 1, "1");
        row("leading zeros stay", "007", 7, "007");
        row("past the end", "25", 10, "10");
        row("past any number", "99999999999999999999", 10, "10");
    }
    void goToClamps()
    {
        QFETCH(QString, typed);
        QFETCH(int, recordNo);
        QFETCH(QString, shown);
        open();
        const GoToTarget target = goToTarget(typed, 10);
        QCOMPARE(target.recordNo, recordNo);
        QCOMPARE(target.boxText, shown);
        const EditPosition position = *goToRecord(*m_set, m_state, target.recordNo);
        QCOMPARE(currentTitle(), QStringLiteral("T%1").arg(recordNo));
        QCOMPARE(position.counter, QStringLiteral("Record no. %1 of 10").arg(recordNo));
        QCOMPARE(position.buttons, navigationButtons(recordNo, 10));
    }

    void saveStoresMarkersTrimsAndSortKey()
    {
        open(10, 4);
        EditTexts texts = LoadEditFields(*m_set).texts;
        QCOMPARE(texts[Title], QStringLiteral("T4"));
        texts[Title].clear();
        texts[Authors] = QStringLiteral(" \n Li J\r\n ");
        texts[Abstract] = QStringLiteral("  \n ");
        texts[Personal] = QStringLiteral("two\nlines");
        saveCurrentRecord(*m_set, texts, QStringLiteral(" "));
        const QString marker = EmptyFieldMarker;
        const QStringList stored{marker, marker, "Li J", marker, "two\nlines", "None", marker};
        QCOMPARE(readRows(m_path,
                     QStringLiteral("SELECT Title, TitelS, Authors, Abstract, Personal, Category, Language "
                                    "FROM Abstracts WHERE rowid = 4")),
            std::vector<QStringList>{stored});
        // The record reads back with the marker shown as an empty field; its neighbour is untouched.
        QCOMPARE(LoadEditFields(*m_set).texts[Title], QString());
        QCOMPARE(readRows(m_path, QStringLiteral("SELECT Title FROM Abstracts WHERE rowid = 5")),
            std::vector<QStringList>{{"T5"}});
    }

    void storeErrorChangesNothing_data()
    {
        QTest::addColumn<bool>("removing");
        row("save", false);
        row("remove", true);
    }
    void storeErrorChangesNothing()
    {
        QFETCH(bool, removing);
        open(10, 3);
        m_db->execute(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON Abstracts BEGIN SELECT RAISE(ABORT, "
                                     "'disk I/O error'); END")
                          .arg(removing ? "DELETE" : "UPDATE"));
        const auto before = readRows(m_path, QStringLiteral("SELECT * FROM Abstracts"));
        const ResultsState state = m_state;
        const auto attempt = [&] {
            if (removing)
                removeCurrentRecord(*m_set, m_state);
            else
                saveCurrentRecord(*m_set, EditTexts{QStringLiteral("changed")}, QStringLiteral("Methods"));
        };
        QCOMPARE(thrownText<StoreError>(attempt), "disk I/O error");
        QCOMPARE(readRows(m_path, QStringLiteral("SELECT * FROM Abstracts")), before);
        QCOMPARE(m_state.ResultCount, state.ResultCount);
        QCOMPARE(m_state.ResultsChanged, false);
        QCOMPARE(m_set->recordCount(), 10);
        QCOMPARE(m_set->absolutePosition(), 2);
        QVERIFY(!m_set->editing());
        QCOMPARE(currentTitle(), QStringLiteral("T3"));
    }

    void proposedNames_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("viewedPage");
        QTest::addColumn<QString>("proposed");
        const QString long55 = QStringLiteral("soil carbon And grassland Or meadow Not alpine pastures");
        row("wildcards and the other seven removed, pairs too", R"(gen** And "vir?s" | a<b>c:d\e/f)", 1, 0,
            "gen And virs  abcdef");
        row("55 characters cut to 40", long55, 1, 0, long55.left(40));
        row("second of three pages", long55, 3, 1, long55.left(40) + "2");
        row("39 characters stay whole", long55.left(39), 2, 0, long55.left(39) + "1");
    }
    void proposedNames()
    {
        QFETCH(QString, summary);
        QFETCH(int, pageCount);
        QFETCH(int, viewedPage);
        QTEST(proposedPageFileName(summary, pageCount, viewedPage), "proposed");
    }

    void richTextAsUnrtfReadsIt()
    {
        const QString header = QStringLiteral("Search items :  Müller gene\nThis search revealed 1 records\n");
        const QString text = header
            + QStringLiteral("Record No. 1 of 1\nTitle :   Grüße, gene maps, язык 😀 {x} a\\b c\n"
                             "Category :   Soil\nReferences :  Müller (2019). Gene maps.\n");
        ColourMarks marks;
        for (qsizetype at = text.indexOf("gene", 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf("gene", at + 4, Qt::CaseInsensitive))
            marks.push_back({int(at), 4, RedRgb, false});
        marks.push_back({int(text.indexOf("Title : ")), 8, BlueRgb, false});
        marks.push_back({int(text.indexOf("References : ")), 13, BlueRgb, false});
        marks.push_back({0, int(header.size()), BlackRgb, true});

        QTemporaryDir dir;
        const QString path = dir.filePath("page.rtf");
        QVERIFY(!writeResultFile(path, text, marks, ResultFileKind::RichText));
        QVERIFY(readFileBytes(path).startsWith("{\\rtf1"));
        QProcess unrtf;
        unrtf.start("unrtf", {"--html", path});
        QVERIFY2(unrtf.waitForFinished() && unrtf.exitCode() == 0, "unrtf is needed (scripts/setup installs it)");
        const QList<Shown> shown = shownByUnrtf(QString::fromUtf8(unrtf.readAllStandardOutput()));
        const QList<Shown> expected = expectedLook(text, marks);
        for (qsizetype i = 0; i < std::min(shown.size(), expected.size()); ++i)
            QVERIFY2(
                shown[i] == expected[i], qPrintable(QStringLiteral("character %1 '%2'").arg(i).arg(expected[i].c)));
        QCOMPARE(shown.size(), expected.size());
    }

    void viewedPageFollowsTheFilterEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("richText");
        row("plain text under an .rtf name", "page.rtf", 2, false);
        row("rich text under a .txt name", "page.txt", 1, true);
    }
    void viewedPageFollowsTheFilterEntry()
    {
        QFETCH(QString, name);
        QFETCH(int, filterIndex);
        QFETCH(bool, richText);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        const QString page = QStringLiteral("Record No. 1 of 60\nTitle :   Grüße\n");
        // The name is taken: No shows the dialog again with the same proposal, Yes replaces.
        writeFileBytes(dir.filePath(name), "old");
        prompts.answerFile(dir.filePath(name), filterIndex);
        prompts.answerMessage(PromptButton::No);
        prompts.answerFile(dir.filePath(name), filterIndex);
        prompts.answerMessage(PromptButton::Yes);
        QVERIFY(saveViewedRecords(prompts, "gene*", 2, 0, page, {{0, 5, RedRgb, false}}));
        const QString dialog = SaveViewedTitle + u'|' + ResultFileFilter + "|save:gene1";
        const QString replace
            = "Papyrant|You already have file called \"" + name + "\"\nDo you want to replace it?|YesNo/Question/No";
        QCOMPARE(prompts.described(), (QStringList{dialog, replace, dialog, replace}));
        const QByteArray written = readFileBytes(dir.filePath(name));
        QCOMPARE(written.startsWith("{\\rtf1"), richText);
        if (!richText)
            QCOMPARE(written, page.toUtf8());
    }

    void failedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.txt");
        writeFileBytes(path, "old page");
        QFile::setPermissions(path, QFile::ReadOwner);
        ScriptedPrompts prompts;
        prompts.answerFile(path, 2);
        prompts.answerMessage(PromptButton::Yes);
        QVERIFY(!saveViewedRecords(prompts, "gene", 1, 0, "new page", {}));
        QCOMPARE(prompts.messages().last(), "The file couldn't be saved correctly\nPermission denied");
        QCOMPARE(readFileBytes(path), QByteArray("old page"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});
    }

    void saveAllFailures()
    {
        TestProgramFolder folder;
        ScriptedPrompts prompts;
        prompts.answerFile(folder.filePath("ab"));
        QVERIFY(!chooseSaveAllFiles(prompts, "gene", 2));
        QVERIFY(prompts.messages().last().startsWith("The file couldn't be saved correctly\n"));
        // A page that cannot be written ends the run with the system's words; the pages
        // before it stay.
        prompts.answerFile(folder.filePath("genes.rtf"));
        const std::optional<SaveAllFiles> files = chooseSaveAllFiles(prompts, "gene", 2);
        QVERIFY(files && files->pagePath(1) == folder.filePath("genes2.rtf"));
        DataBinding results(folder.openBibliography(
            folder.makeBibliography("sixty.pyr", std::vector<TestRecord>(60, {{"Title", "gene"}}))));
        results.setRecordSource("Abstracts");
        SaveAllRun run(results.refresh(), 60, SearchSnapshot{}, *files);
        QVERIFY(QDir(folder.path()).mkdir("genes2.rtf"));
        const StepOutcome outcome = runToEnd(run);
        QCOMPARE(outcome.kind, StepOutcome::Kind::Failed);
        QVERIFY(!outcome.reason.isEmpty());
        QCOMPARE(run.progress().done, 1);
        QVERIFY(readFileBytes(folder.filePath("genes1.rtf")).startsWith("{\\rtf1"));
    }
};

QTEST_GUILESS_MAIN(ResultManagementTest)
#include "tst_ResultManagement.moc"
