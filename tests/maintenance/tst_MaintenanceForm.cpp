// The maintenance screen through its real controls: opened from the control panel, auto
// remove with its options and report, the review of a pair, the cleanup lists and help.

#include "MaintenanceRecords.h"

#include "core/Database.h"
#include "help/Help1.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/MaintOptionForm.h"
#include "maintenance/MaintenanceForm.h"
#include "screens/WorkingScreen.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

class TestMaintenanceForm : public QObject {
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fixture;
    QString m_path;
    QPointer<MaintenanceForm> m_form;
    AutoRemoveOptions m_autoRemove; // as the program keeps it between screens

    template <typename T = QWidget>
    T* the(const QString& name) const
    {
        return test::the<T>(m_form.data(), name);
    }
    void click(const QString& name) const { test::click(m_form.data(), name); }
    // "Find next repeated records" (its name is also the options dialog's OK).
    void findNext() const { test::click(the("Tab1"), "Command1"); }
    // Opens the screen with the control panel's maintenance button.
    void open(const QStringList& records)
    {
        m_fixture->openPanel();
        m_path = m_fixture->openBibliography("shelf.pyr", taggedRecords(records));
        reopen();
    }
    void reopen()
    {
        pressPanel(m_fixture->panel(), role::MaintenanceButton);
        m_form = screens().live<MaintenanceForm>(ScreenKind::Maintenance);
        QVERIFY(m_form && m_form->isVisible());
    }
    void pick(const QString& combo) const
    {
        the(combo)->setFocus();
        QTest::keyClick(the(combo), Qt::Key_Down);
    }

private slots:
    void initTestCase()
    {
        screens().registerScreen(
            ScreenKind::Maintenance, [this](Bibliography& b) { return new MaintenanceForm(b, m_autoRemove); });
    }
    void init() { m_fixture = std::make_unique<ScreenFixture>(); }
    void cleanup()
    {
        m_fixture.reset();
        m_autoRemove = {};
    }

    void autoRemoveReportsAndBackCountsAgain_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("shownAfterRun"); // tag on view after the next Find next
        QTest::addColumn<QString>("status");
        row("run", false, QStringList{"Papyrant deleted 2 similar records\n", "There are no more similar records"},
            u""_s, "bibliography name is: shelf, contains 2 records");
        // Nothing was deleted, and the search starts again from the first record.
        row("locked bibliography", true, QStringList{"Auto remove could not finish\ndatabase is locked"}, u"r0"_s,
            "bibliography name is: shelf, contains 4 records");
    }
    void autoRemoveReportsAndBackCountsAgain()
    {
        QFETCH(bool, locked);
        QFETCH(QStringList, messages);
        QFETCH(QString, shownAfterRun);
        QFETCH(QString, status);
        open({"a|A|x", "a|A|x", "a|A|x", "b|B|x"});
        QCOMPARE(m_form->windowTitle(), "Papyrant, Maintenance, bibliography name is: shelf");
        QVERIFY(!m_fixture->panel()->isVisible());
        findNext();
        findNext(); // now on the second and third records
        OtherConnection other(m_path, locked ? "BEGIN IMMEDIATE" : nullptr);
        click("Command5");
        QVERIFY(!m_form->acceptsInput() && !m_form->close() && m_form->isVisible());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), "");
        QTRY_VERIFY_WITH_TIMEOUT(m_form->acceptsInput(), 5000);
        other.close();
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(the<QProgressBar>("Bar1")->value(), 0);
        findNext();
        QCOMPARE(the<QPlainTextEdit>("Text2_9")->toPlainText(), shownAfterRun);
        QCOMPARE(m_fixture->prompts().messages(), messages);
        click(role::Back);
        QVERIFY(m_fixture->panel()->isVisible());
        QCOMPARE(m_fixture->panel()->findChild<QLabel*>("Label1")->text(), status);
    }

    void optionsKeepTheirTicksWhenTheScreenIsReopened()
    {
        open({});
        click("CommandOptions");
        auto* options = the<MaintOptionForm>("MaintOptionForm");
        QVERIFY(options->isVisible() && !m_form->acceptsInput());
        auto* list = test::the<QListWidget>(options, "List1");
        auto* rule = test::the<QPlainTextEdit>(options, "Text1");
        auto* ok = test::the<QPushButton>(options, "Command1");
        QCOMPARE(rule->toPlainText(), "Auto remove repeated records when Title, Abstract of them are similar.");
        toggle(list, Title);
        toggle(list, Abstract);
        QCOMPARE(rule->toPlainText(), "You must select at least one of these categories to be matched.");
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(options->isVisible());
        toggle(list, Authors);
        toggle(list, Category);
        QCOMPARE(rule->toPlainText(), "Auto remove repeated records when Authors, Category of them are similar.");
        // Return in the list presses "OK".
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!options->isVisible() && m_form->acceptsInput());
        click(role::Back);
        QTRY_VERIFY(m_form.isNull());
        reopen();
        options = the<MaintOptionForm>("MaintOptionForm");
        QCOMPARE(test::the<QPlainTextEdit>(options, "Text1")->toPlainText(),
            "Auto remove repeated records when Authors, Category of them are similar.");
        QCOMPARE(test::the<QListWidget>(options, "List1")->item(Category)->checkState(), Qt::Checked);
    }

    void reviewShowsMarksUpdatesAndRemoves()
    {
        open({"a|X|x", "b|Y|x", "b|Y|y\r\nz", "c|Z|x", "d|W|x", "d|W|x"});
        findNext();
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), "Y");
        QCOMPARE(the<QPlainTextEdit>("Text2_2")->toPlainText(), ""); // the marker is shown as nothing
        QVERIFY(!the(role::SimilarityMark(0))->isHidden() && the(role::SimilarityMark(8))->isHidden()
            && the(role::SimilarityMark(9))->isHidden());
        QTest::mouseClick(the("Option2"), Qt::LeftButton);
        QCOMPARE(the<QPlainTextEdit>("Text2_9")->toPlainText(), "r2");
        the<QPlainTextEdit>("Text2_11")->clear();
        click("CommandUpdate");
        QCOMPARE(the<QPlainTextEdit>("Text2_11")->toPlainText(), "");
        // The abstract was left as it was: its CR LF stays as stored.
        QCOMPARE(readLines(m_path, "SELECT Abstract FROM Abstracts WHERE Personal = 'r2'"), QStringList{"y\r\nz"});
        QVERIFY(the(role::SimilarityMark(0))->isVisible() && the(role::SimilarityMark(11))->isHidden());
        click("CommandRemove");
        QCOMPARE(the<QPlainTextEdit>("Text2_9")->toPlainText(), "r1");
        // The last copy can be corrected but not removed, until the next pair (tst_Maintenance
        // walks the rest).
        QVERIFY(the("CommandUpdate")->isEnabled() && !the("CommandRemove")->isEnabled());
        QCOMPARE(remainingTags(m_path), (QStringList{"r0", "r1", "r3", "r4", "r5"}));
        findNext();
        QCOMPARE(the<QPlainTextEdit>("Text2_9")->toPlainText(), "r4");
        QVERIFY(the("CommandRemove")->isEnabled());
        findNext();
        QCOMPARE(m_fixture->prompts().messages(), QStringList{"There are no more similar records"});
        QVERIFY(!the("CommandUpdate")->isEnabled() && !the("Option1")->isEnabled());
    }

    void cleanupListsPickingAndMergingRename()
    {
        open({"a|A|x", "b|B|x"});
        Database(m_path).execute("UPDATE Abstracts SET Category = 'Reviews' WHERE Personal = 'r1'");
        the<QTabWidget>("Tab1")->setCurrentIndex(1);
        for (const char* button : {"Command7", "Command6", "Command2", "Command4", "Command8"})
            QVERIFY(!the(button)->isEnabled());
        pick("Combo1");
        QVERIFY(the("Command7")->isEnabled() && !the("Command8")->isEnabled());
        QCOMPARE(the<QLabel>("Label5")->text(), "");
        pick("Combo2");
        QCOMPARE(
            the<QLabel>("Label5")->text(), "Delete abstracts in category \"None\" Which were entered in \"1.2.2020\"");
        QVERIFY(the("Command8")->isEnabled());
        m_fixture->prompts().answerInput("Reviews");
        m_fixture->prompts().answerMessage(PromptButton::Ok);
        click("Command7");
        QVERIFY(the("Bar2")->isVisible());
        QVERIFY(!m_form->close()); // the close box waits for the change's end
        QTRY_VERIFY(!the("Bar2")->isVisible() && the("Command9")->isEnabled());
        QCOMPARE(readLines(m_path, "SELECT DISTINCT Category FROM Abstracts"), QStringList{"Reviews"});
        QCOMPARE(the<QComboBox>("Combo1")->currentText(), "Reviews");
        QCOMPARE(the<QComboBox>("Combo1")->count(), 1);
        QVERIFY(!the("Command7")->isEnabled() && !the("Command8")->isEnabled());
        click("Command9");
        QVERIFY(Help1::instance().homePage().endsWith("/HMaintenanceC.htm"));
        the<QTabWidget>("Tab1")->setCurrentIndex(0);
        click("Command9");
        QVERIFY(Help1::instance().homePage().endsWith("/HMaintenanceR.htm"));
    }
};

QTEST_MAIN(TestMaintenanceForm)
#include "tst_MaintenanceForm.moc"
