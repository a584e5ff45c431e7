// The search and results screen driven through its real controls: search, pages and
// marks, the caret leading to the edit tab, editing and removing, refusals, tabs, a whole
// round from the control panel; and working on a search's results: the output buttons of
// the "Results" tab (printed PDF read by pdftotext, clipboard, "Save all") and the "Manage
// results" tab (category, copy, delete all).
#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RecordModel.h"
#include "core/ResultKeys.h"
#include "help/Help1.h"
#include "options/OptionForm.h"
#include "search/OutputActions.h"
#include "search/ReportForm.h"
#include "search/ResultCopy.h"
#include "search/ResultFiles.h"
#include "search/ResultsTab.h"
#include "support/ResultsScreenTest.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>

using namespace papyrant;
using namespace papyrant::test;

Q_DECLARE_METATYPE(papyrant::PromptButton)

namespace {
const QString Question = QStringLiteral("Papyrant|Save the changes to this record?|YesNoCancel/Question/Yes");
// Text compared the way a printout shows it: line wraps and page ends are blanks, and
// each page ends in its number.
QString printedWords(QString text)
{
    static const QRegularExpression pageNumber(QStringLiteral("\\s\\d+\\s*\\f"));
    return text.replace(pageNumber, QStringLiteral(" ")).remove(QChar(0x200B)).remove(QLatin1Char('\r')).simplified();
}

} // namespace

class ReportFormTest : public ResultsScreenTest {
    Q_OBJECT
private:
    // Colour and weight of the character at a position of the results box.
    QString formatAt(int position) const
    {
        QTextCursor cursor(the<QTextEdit>("RText1")->document());
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return format.foreground().color().name() + (format.fontWeight() == QFont::Bold ? " bold" : "");
    }
    int positionOf(const QString& part) const { return text("RText1").indexOf(part); }

    // Record 2 of the ten "tenth" results on the edit tab.
    void editSecondOfTen()
    {
        search(QStringLiteral("tenth"));
        showTab(2);
        type("Text4", QStringLiteral("2"));
        QTest::keyClick(the("Text4"), Qt::Key_Return);
    }
    // Types over a field or the category box, as a user does.
    void retype(const char* box, const QString& words)
    {
        QWidget* target = the(box);
        if (auto* combo = qobject_cast<QComboBox*>(target))
            target = combo->lineEdit();
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, words);
    }
    QString stored() const { return rows("SELECT Title, Category FROM Abstracts WHERE rowid = 2").join('\n'); }

    ResultsTab& results() const { return *m_form->resultsTab(); }
    void waitUntilIdle() { QTRY_VERIFY(m_form->isEnabled() && !m_form->ticks().running()); }
    // Selects the text of the results box from `from` on, `length` characters.
    void select(const QString& from, int length)
    {
        QTextCursor cursor = results().resultsBox()->textCursor();
        cursor.setPosition(results().pageText().indexOf(from));
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, length);
        results().resultsBox()->setTextCursor(cursor);
    }

private slots:
    void initTestCase() { setUpCase(geneStudies()); }
    void init() { openScreen(); }
    void cleanup() { closeScreen(); }
    void cleanupTestCase() { tearDownCase(); }

    void searchSetsEveryTab_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("found");
        row("three pages", "gene", 120);
        row("one page", "tenth", 10);
        row("one record", "single", 1);
        row("none", "nowhere", 0);
    }
    void searchSetsEveryTab()
    {
        QFETCH(QString, words);
        QFETCH(int, found);
        search(words);
        QCOMPARE(the<QTabWidget>("Tab1")->currentIndex(), 1);
        QVERIFY(the("RText1")->isVisible());
        const QString revealed = found ? QString::number(found) : QStringLiteral("no");
        QVERIFY(text("RText1").startsWith(
            "Search items :  " + words + "\nThis search revealed " + revealed + " records\n"));
        QCOMPARE(text("RText1").count("Record No. "), std::min(found, PageSize));
        const QStringList pages = found ? pageList(found) : QStringList();
        QCOMPARE(items(the<QComboBox>("Combo2")), pages);
        QCOMPARE(
            label("Label7"), found ? "Record no. 1 of " + QString::number(found) : "This search revealed no records");
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), found ? QStringLiteral("Gene study 1") : QString());
        QCOMPARE(enabled("CommandDown"), found > 1);
        QVERIFY(!enabled("CommandUp"));
        QCOMPARE(enabled("Command15"), pages.size() > 1);
        for (const char* control : {"CommandUpdate", "CommandRemove", "CommandCite", "Combo3", "Command7", "Command5",
                 "Command9", "CommandExport"})
            QCOMPARE(enabled(control), found > 0);
        QVERIFY(!enabled("CommandGo"));
        QCOMPARE(the<QLineEdit>("TextColor1_0")->text(), words);
    }

    // "Find whole word only" decides what a search finds and what its page marks; the
    // marks of record 2 stand after record 1's CR LF, which keeps one position in the box.
    void wholeWordOption()
    {
        search(QStringLiteral("stud"));
        QVERIFY(text("RText1").contains(QStringLiteral("This search revealed no records")));
        showTab(0);
        click("Command2");
        OptionForm* options = m_form->options();
        QVERIFY(the<QCheckBox>("CheckwHoleWord", options)->isChecked());
        QTest::mouseClick(the<QCheckBox>("CheckwHoleWord", options), Qt::LeftButton);
        QTest::mouseClick(the<QPushButton>("Command1", options), Qt::LeftButton);
        showTab(0);
        search(QStringLiteral("stud"));
        QVERIFY(text("RText1").contains(QStringLiteral("This search revealed 120 records")));
        QCOMPARE(formatAt(positionOf("Gene study 2") + 5), QStringLiteral("#ff0000"));
        QCOMPARE(formatAt(positionOf("Gene study 2") + 9), QStringLiteral("#000000"));
    }

    void caretLeadsToTheRecordToEdit()
    {
        search(QStringLiteral("gene"));
        choosePage(1);
        QVERIFY(text("RText1").contains("Record No. 51 of 120"));
        QCOMPARE(label("Label8"), QStringLiteral("\n\nGetting records From 51 to 100"));
        QCOMPARE(the<QToolButton>("Command5")->toolTip(), QStringLiteral("Print viewed records, From 51 to 100"));
        auto* box = the<QTextEdit>("RText1");
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(positionOf("Record No. 53 of") + 30);
        box->setTextCursor(cursor);
        QCOMPARE(the<QLabel>("Label10")->toolTip(), QStringLiteral("Edit record no. 53"));
        emit the<QLabel>("Label10")->linkActivated(QStringLiteral("edit"));
        QCOMPARE(the<QTabWidget>("Tab1")->currentIndex(), 2);
        QCOMPARE(label("Label7"), QStringLiteral("Record no. 53 of 120"));
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QStringLiteral("Gene study 53"));
        QVERIFY(the<QLineEdit>("Text4")->text().isEmpty());
        QVERIFY(enabled("CommandUp") && enabled("CommandDown"));
    }

    void removingLowersTheCountAndThePages()
    {
        search(QStringLiteral("fiftyone"));
        showTab(2);
        type("Text4", QStringLiteral("51"));
        QTest::keyClick(the("Text4"), Qt::Key_Return);
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QStringLiteral("Gene study 51"));
        click("CommandRemove");
        QCOMPARE(label("Label7"), QStringLiteral("Record no. 50 of 50"));
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QStringLiteral("Gene study 50"));
        QCOMPARE(rows("SELECT count(*) FROM Abstracts"), QStringList{"119"});
        showTab(1);
        QTRY_VERIFY(m_form->isEnabled());
        QCOMPARE(the<QComboBox>("Combo2")->count(), 1);
        QVERIFY(text("RText1").contains("This search revealed 50 records\n"));
        QVERIFY(text("RText1").contains("Record No. 50 of 50"));

        // A removal the store refuses is reported and changes nothing.
        Database(m_path).execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE DELETE ON Abstracts BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));
        showTab(2);
        click("CommandRemove");
        QCOMPARE(prompts().messages(), QStringList{"The record could not be removed.\ndisk I/O error"});
        QCOMPARE(label("Label7"), QStringLiteral("Record no. 50 of 50"));
    }

    void savingANewCategoryAndAClearedTitle()
    {
        OtherConnection(m_path, "UPDATE Abstracts SET Author_address = 'Bldg' || char(160) || '5' WHERE rowid = 1");
        search(QStringLiteral("single"));
        showTab(2);
        the<QPlainTextEdit>("Text2_0")->clear();
        the<QPlainTextEdit>("Text2_4")->setPlainText(QStringLiteral("1999 "));
        prompts().answerInput(QStringLiteral("None"));
        prompts().answerInput(QStringLiteral("Protocols"));
        click("Command7");
        QCOMPARE(prompts().messages(), QStringList{"You already have a Category named None"});
        QCOMPARE(the<QComboBox>("Combo3")->currentText(), QStringLiteral("Protocols"));
        click("CommandUpdate");
        // The abstract and the address were not touched: the CR LF and the non-breaking
        // space stay as stored.
        QCOMPARE(rows("SELECT Title, TitelS, Publishing_year, Category, Abstract, Author_address FROM Abstracts WHERE "
                      "rowid = 1"),
            QStringList{QStringLiteral(
                "XX_EmptyField_XX|XX_EmptyField_XX|1999|Protocols|Line one\r\nline two of 1|Bldg\u00A05")});

        // The options show the new category when they open next, while this screen waits.
        click("Command2");
        OptionForm* options = m_form->options();
        QVERIFY(options->isVisible() && !m_form->isEnabled());
        QVERIFY(!the<QListWidget>("List3", options)->findItems("Protocols", Qt::MatchExactly).isEmpty());
        QTest::mouseClick(the<QPushButton>("Command1", options), Qt::LeftButton);
        QVERIFY(m_form->isEnabled() && !options->isVisible());
    }

    // Every way off a record whose title changed asks; only a real change counts, and
    // Cancel or a refused save stays on the record.
    void leavingAChangedRecord_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("way");
        QTest::addColumn<PromptButton>("answer");
        for (const char* way : {"next", "go to", "remove", "tab", "back", "close box"}) {
            for (const auto& [answer, name] :
                {std::pair{PromptButton::Yes, "Yes"}, {PromptButton::No, "No"}, {PromptButton::Cancel, "Cancel"}})
                QTest::addRow("%s, %s", way, name) << "title" << QString::fromLatin1(way) << answer;
        }
        for (const char* change : {"category", "undone", "manage New", "save refused"})
            QTest::addRow("%s", change) << QString::fromLatin1(change) << "next" << PromptButton::Yes;
    }
    void leavingAChangedRecord()
    {
        QFETCH(QString, change);
        QFETCH(QString, way);
        QFETCH(PromptButton, answer);
        editSecondOfTen();
        if (change == "undone") {
            QTest::keyClicks(the("Text2_0"), QStringLiteral("x"));
            QTest::keyClick(the("Text2_0"), Qt::Key_Backspace);
        } else if (change == "manage New") {
            showTab(3);
            prompts().answerInput(QStringLiteral("Reviews2"));
            click("Command1");
            showTab(2);
        } else {
            retype(change == "title" ? "Text2_0" : "Combo3", QStringLiteral("Changed"));
        }
        const bool refused = change == "save refused";
        if (refused)
            OtherConnection(m_path,
                "CREATE TRIGGER refuse BEFORE UPDATE ON Abstracts BEGIN SELECT "
                "RAISE(ABORT, 'disk I/O error'); END");
        const bool asked = change != "undone" && change != "manage New";
        if (asked)
            prompts().answerMessage(answer);
        prompts().clear();
        if (way == "next") {
            click("CommandDown");
        } else if (way == "go to") {
            type("Text4", QStringLiteral("5"));
            click("CommandGo");
        } else if (way == "remove") {
            click("CommandRemove");
        } else if (way == "tab") {
            QTabBar* bar = the<QTabWidget>("Tab1")->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        } else if (way == "back") {
            click(role::Back);
        } else {
            m_form->close();
        }
        QStringList boxes = asked ? QStringList{Question} : QStringList{};
        if (refused)
            boxes << "Papyrant|The record could not be saved.\ndisk I/O error|Ok/None/Ok";
        QCOMPARE(prompts().described(), boxes);
        // Yes saves; No removes only when removing, and Yes to a removal keeps the record.
        const bool removed = way == "remove" && answer == PromptButton::No;
        const bool saved = asked && !refused && answer == PromptButton::Yes;
        QCOMPARE(rows("SELECT count(*) FROM Abstracts"), QStringList{removed ? "119" : "120"});
        if (!removed)
            QCOMPARE(stored(),
                !saved                  ? "Gene study 2|None"
                    : change == "title" ? "Changed|None"
                                        : "Gene study 2|Changed");
        if (way == "close box") {
            QCOMPARE(m_form->isVisible(), answer == PromptButton::Cancel);
            return;
        }
        const bool stays = (asked && (refused || answer == PromptButton::Cancel)) || (way == "remove" && !removed);
        const int shown = stays ? 2 : way == "next" ? 3 : way == "go to" ? 5 : removed ? 1 : 2;
        QCOMPARE(label("Label7"), QStringLiteral("Record no. %1 of %2").arg(shown).arg(removed ? 9 : 10));
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(),
            shown == 2 && change == "title" && answer != PromptButton::No ? "Changed"
                                                                          : "Gene study " + QString::number(shown));
        QCOMPARE(the<QTabWidget>("Tab1")->currentIndex(), (way == "tab" || way == "back") && !stays ? 0 : 2);
    }

    void goToBoxTakesDigitsAndEnter()
    {
        search(QStringLiteral("gene"));
        showTab(2);
        auto* box = the<QLineEdit>("Text4");
        type("Text4", QStringLiteral("1a2-b"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        QVERIFY(enabled("CommandGo"));
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(label("Label7"), QStringLiteral("Record no. 12 of 120"));
        type("Text4", QStringLiteral("500")); // the clamp is tst_ResultManagement's
        click("CommandGo");
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QStringLiteral("Gene study 120"));
        box->clear();
        QVERIFY(!enabled("CommandGo"));
    }

    void tabsShowTheirButtonsAndHelp_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("page");
        row("search items", 0, QStringList{"Command2", "Command6"}, "/Hsearch1S.htm");
        row("results", 1, QStringList{"Command10", "Command5", "Command9", "Command15", "CommandExport"},
            "/Hsearch2R.htm");
        row("edit", 2, QStringList{}, "/HSearch3E.htm");
        row("manage", 3, QStringList{}, "/Hsearch4M.htm");
    }
    void tabsShowTheirButtonsAndHelp()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, shown);
        QFETCH(QString, page);
        showTab(tab);
        for (const char* name :
            {"Command2", "Command6", "Command10", "Command5", "Command9", "Command15", "CommandExport"})
            QCOMPARE(the(name)->isVisible(), shown.contains(QLatin1String(name)));
        QWidget* back = test::the(m_form, role::Back);
        QVERIFY(back->isVisible() && the("Command14")->isVisible());
        // Help moves to stand after the tab's last button.
        for (const QString& name : shown + QStringList{role::Back})
            QVERIFY(test::the(m_form, name)->geometry().right() < the("Command14")->x());
        QCOMPARE(back->toolTip(), tab ? "Back to search items" : "Back to control panel");
        // A screen reader says where Back goes now, as the tool tip does.
        QCOMPARE(back->accessibleName(), back->toolTip());
        QCOMPARE(the("Label10")->isVisible(), tab == 1);
        click("Command14");
        QCOMPARE(Help1::instance().homePage(), programState().ProgramFolder + page);
        // Back leads to the first tab, and from there out of the screen.
        click(role::Back);
        QCOMPARE(the<QTabWidget>("Tab1")->currentIndex(), 0);
        QCOMPARE(m_form->isVisible(), tab != 0);
        if (tab == 0)
            m_form = nullptr;
    }

    void fromTheControlPanelAndBack()
    {
        delete m_form;
        MainForm& panel = m_fixture->openPanel();
        prompts().answerFile(m_path);
        pressPanel(&panel, role::OpenButton);
        pressPanel(&panel, role::SearchButton);
        m_form = screens().live<ReportForm>(ScreenKind::SearchResults);
        QVERIFY(m_form && m_form->isVisible() && !panel.isVisible());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Papyrant, bibliography name is: genes"));
        search(QStringLiteral("tenth"));
        QVERIFY(text("RText1").contains("Record No. 10 of 10\nTitle :   Gene study 10\nAuthors :   Author 10\n"));
        showTab(2);
        click("CommandRemove");
        click(role::Back); // to the criteria
        click(role::Back);
        QTRY_VERIFY(!screens().existing(ScreenKind::SearchResults));
        m_form = nullptr;
        QVERIFY(panel.isVisible());
        QCOMPARE(
            the<QLabel>("Label1", &panel)->text(), QStringLiteral("bibliography name is: genes, contains 119 records"));

        // The close box ends the program, the panel shown first with its count.
        pressPanel(&panel, role::SearchButton);
        m_form = screens().live<ReportForm>(ScreenKind::SearchResults);
        Database(m_path).execute(QStringLiteral("DELETE FROM Abstracts WHERE Title = 'Gene study 120'"));
        m_form->close();
        m_form = nullptr;
        QVERIFY(!panel.isVisible());
        QCOMPARE(
            the<QLabel>("Label1", &panel)->text(), QStringLiteral("bibliography name is: genes, contains 118 records"));
    }

    // The printer and the clipboard get the viewed page, or the text selected in it, with
    // the CR LF of a field whole; the copy button says which as the mouse comes over it.
    void viewedTextPrintedAndCopied_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<QString>("copyTip");
        row("whole page", false, "Copy viewed records, From 1 to 3");
        row("selected text", true, "Copy selected text");
    }
    void viewedTextPrintedAndCopied()
    {
        QFETCH(bool, selection);
        QFETCH(QString, copyTip);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext is needed (scripts/setup installs poppler-utils)");
        search(QStringLiteral("trio"));
        if (selection)
            select(QStringLiteral("Line one\r\nline two of 2"), 16);
        const QString page = selection ? QStringLiteral("Line one\r\nline t") : results().pageText();
        QVERIFY(selection || page.contains("This search revealed 3 records"));
        const QString pdf = m_fixture->folder().filePath(QStringLiteral("printed.pdf"));
        m_form->output()->setPrinterSource([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return printer;
        });
        click("Command5");
        QProcess reader;
        reader.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(reader.waitForFinished());
        QCOMPARE(printedWords(QString::fromUtf8(reader.readAllStandardOutput())), printedWords(page));
        auto* copy = the<QToolButton>("Command10");
        QTest::mouseMove(m_form, QPoint(2, 2));
        QTest::mouseMove(copy);
        QTRY_COMPARE(copy->toolTip(), copyTip);
        click("Command10");
        QCOMPARE(QGuiApplication::clipboard()->text(), page);
    }

    void savedFilesHoldTheirPages()
    {
        // "Save all" from the second page with a page's file there: No asks again, Yes
        // replaces. The viewed page's file is tst_ResultManagement's.
        search(QStringLiteral("gene"));
        choosePage(1);
        const QString base = m_fixture->folder().filePath(QStringLiteral("genes"));
        writeFileBytes(base + "2.txt", "old");
        for (PromptButton answer : {PromptButton::No, PromptButton::Yes}) {
            prompts().answerFile(base + ".txt", 2);
            prompts().answerMessage(answer);
        }
        click("Command15");
        waitUntilIdle();
        const QString dialog = u'|' + ResultFileFilter + "|save:gene";
        const QString replace
            = "Papyrant|You already have file called \"genes2.txt\"\nDo you want to replace it?|YesNo/Question/No";
        QCOMPARE(prompts().described(), (QStringList{SaveAllTitle + dialog, replace, SaveAllTitle + dialog, replace}));
        // Back on the page viewed before, and every file holds its page.
        QCOMPARE(results().chosenPage(), 1);
        QVERIFY(results().resultsBox()->isVisible());
        QVERIFY(results().resultsBox()->toPlainText().contains("Record No. 51 of 120"));
        QCOMPARE(readFileBytes(base + "2.txt"), results().pageText().toUtf8());
        for (int page : {0, 2}) {
            choosePage(page);
            QCOMPARE(readFileBytes(base + QString::number(page + 1) + ".txt"), results().pageText().toUtf8());
        }
        QVERIFY(!QFile::exists(base + "4.txt"));
    }

    void newCategoryDoneOnThreeResults()
    {
        search(QStringLiteral("trio"));
        showTab(2);
        click("CommandDown");
        showTab(3);
        QVERIFY(!enabled("Command11") && !the("Label12")->isVisible());
        prompts().answerInput(QStringLiteral("Reviews"));
        click("Command1");
        QCOMPARE(the<QComboBox>("Combo4")->currentText(), QStringLiteral("Reviews"));
        QVERIFY(enabled("Command11") && the("Label12")->isVisible());
        click("Command11");
        QVERIFY(!the("Label12")->isVisible());
        QVERIFY(!m_form->close()); // the close box waits for the run's end
        QTRY_COMPARE(label("Label13"), QStringLiteral("3 records were put into category Reviews"));
        QTRY_VERIFY(m_form->isEnabled());
        // Exactly the three results (tst_ResultManagement holds the rest); the record on the
        // edit tab shows the category and keeps it when saved.
        QCOMPARE(rows("SELECT Keywords LIKE '% trio %' FROM Abstracts WHERE Category = 'Reviews'"),
            (QStringList{"1", "1", "1"}));
        showTab(2);
        QCOMPARE(the<QComboBox>("Combo3")->currentText(), QStringLiteral("Reviews"));
        click("CommandUpdate");
        QCOMPARE(rows("SELECT count(*) FROM Abstracts WHERE Category = 'Reviews'"), QStringList{"3"});
    }

    void doFollowsTheCategoryBox_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("searchAgain");
        QTest::addColumn<QString>("typed"); // empty: the next entry of the list is chosen
        QTest::addColumn<bool>("offered");
        row("entry chosen", "trio", false, "", true);
        row("name typed", "trio", false, "Archive", true);
        row("blanks typed", "trio", false, "  ", false);
        row("nothing found", "nowhere", false, "", false);
        row("a new search clears the choice", "trio", true, "", false);
    }
    void doFollowsTheCategoryBox()
    {
        QFETCH(QString, words);
        QFETCH(QString, typed);
        QFETCH(bool, searchAgain);
        QFETCH(bool, offered);
        search(words);
        showTab(3);
        auto* box = the<QComboBox>("Combo4");
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Down);
        else
            QTest::keyClicks(box->lineEdit(), typed);
        if (searchAgain) {
            showTab(0);
            search(words);
            showTab(3);
            QCOMPARE(box->currentText(), QString());
        }
        QCOMPARE(enabled("Command11"), offered);
        QCOMPARE(the("Label12")->isVisible(), offered);
    }

    void copyIntoANewBibliography()
    {
        search(QStringLiteral("trio"));
        showTab(3);
        const QString target = m_fixture->folder().filePath(QStringLiteral("for-ana.pyr"));
        prompts().answerFile(target);
        prompts().answerMessage(PromptButton::Yes);
        click("Command12");
        QVERIFY(!m_form->close()); // the close box waits for the copy's end
        QTRY_COMPARE(label("Label13"), QStringLiteral("3 records were copied to for-ana.pyr bibliography"));
        QCOMPARE(prompts().described(),
            (QStringList{CopyTargetTitle + u'|' + BibliographyFilter + "|save:",
                "Papyrant|Bibliography \"for-ana.pyr\" Doesn't exist. \nDo you want to create "
                "it?|YesNo/Question/Yes"}));
        QVERIFY(!the("Bar2")->isVisible());
        QTRY_VERIFY(m_form->isEnabled());
        // Every column as it was, entry dates and categories included, in the result's order.
        const QString columns = QStringList(columnNames().begin(), columnNames().end()).join(QLatin1Char(','));
        QCOMPARE(readLines(target, "SELECT " + columns + " FROM Abstracts"),
            rows("SELECT " + columns + " FROM Abstracts WHERE Keywords LIKE '% trio %'"));
    }

    void deleteAllEmptiesTheScreen()
    {
        search(QString());
        showTab(3);
        // No, which is also what Enter chooses, changes nothing.
        prompts().answerMessage(PromptButton::No);
        click("Command13");
        QCOMPARE(prompts().described().last(),
            "Papyrant|Current results revealed 120 records.\nAre you sure you want to delete all current "
            "results?|YesNo/None/No");
        QVERIFY(rows("SELECT count(*) FROM Abstracts") == QStringList{"120"} && label("Label13").isEmpty());
        prompts().answerMessage(PromptButton::Yes);
        click("Command13");
        QTRY_COMPARE(label("Label13"), QStringLiteral("Records were deleted"));
        QTRY_VERIFY(m_form->isEnabled());
        QCOMPARE(rows("SELECT count(*) FROM Abstracts"), QStringList{"0"});
        QCOMPARE(label("Label7"), QStringLiteral("All records were deleted"));
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QString());
        for (const char* off :
            {"Command12", "Command13", "Command11", "CommandUpdate", "CommandRemove", "CommandUp", "CommandDown"})
            QVERIFY2(!enabled(off), off);
        showTab(1);
        waitUntilIdle();
        QVERIFY(results().pageText().contains("This search revealed no records\n"));
        QVERIFY(!enabled("Command15"));
    }
};

QTEST_MAIN(ReportFormTest)
#include "tst_ReportForm.moc"
