// The search and results screen driven through its real controls: search, pages and
// marks, the caret leading to the edit tab, editing and removing, refusals, tabs, and a
// whole round from the control panel.

#include "core/Database.h"
#include "core/ProgramState.h"
#include "help/Help1.h"
#include "options/OptionForm.h"
#include "search/ReportForm.h"
#include "support/ResultsScreenTest.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
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
};

QTEST_MAIN(ReportFormTest)
#include "tst_ReportForm.moc"
