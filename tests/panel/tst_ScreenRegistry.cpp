// Opening working screens from the panel and coming back: one instance per kind,
// destroyed on close, the count re-read on return, the close box ending the program.

#include "TestScreen.h"

#include "panel/MainForm.h"
#include "panel/ScreenRegistry.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

class TestScreenRegistry : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QPointer<MainForm> m_panel;

    QString status() const { return m_panel->findChild<QLabel*>(QStringLiteral("Label1"))->text(); }
    void clickOn(const char* name)
    {
        QTest::mouseClick(m_panel->findChild<QLabel*>(QString::fromLatin1(name)), Qt::LeftButton, {}, QPoint(20, 20));
    }
    TestScreen* screenOf(ScreenKind kind) const { return static_cast<TestScreen*>(screens().existing(kind)); }
    void back(TestScreen* screen)
    {
        QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        QDir::setCurrent(m_folder->path());
        m_prompts = std::make_unique<ScriptedPrompts>();
        for (ScreenKind kind : {ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults,
                                ScreenKind::Maintenance})
            screens().registerScreen(kind, [kind] { return new TestScreen(kind); });
        TestScreen::created = 0;
        TestScreen::destroyed = 0;
        m_panel = new MainForm;
        m_panel->setAttribute(Qt::WA_DeleteOnClose);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.data()));
        m_prompts->answerFile(m_folder->makeBibliography(QStringLiteral("shelf.pyr"),
                                                         {{{QStringLiteral("Title"), QStringLiteral("First")}}}));
        clickOn("Picture13");
        QCOMPARE(status(), QStringLiteral("bibliography name is: shelf, contains 1 records"));
    }

    void cleanup()
    {
        QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join(QLatin1Char('\n'))));
        delete m_panel.data();
        for (ScreenKind kind : {ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults,
                                ScreenKind::Maintenance}) {
            delete screens().existing(kind);
            screens().unregisterScreen(kind);
        }
        programState().ReturnToPanel = 0;
        programState().ManualFromExtract = 0;
        m_prompts.reset();
        m_folder.reset();
    }

    void buttonOpensItsScreenAndHidesThePanel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::newRow("auto extract") << "Picture7" << int(ScreenKind::AutoExtract)
                                      << "Papyrant, Auto extract, bibliography name is: shelf";
        QTest::newRow("manual") << "Picture9" << int(ScreenKind::ManualAdding)
                                << "Papyrant, Manual adding, bibliography name is: shelf";
        QTest::newRow("search") << "Picture17" << int(ScreenKind::SearchResults)
                                << "Papyrant, bibliography name is: shelf";
        QTest::newRow("maintenance") << "Picture15" << int(ScreenKind::Maintenance)
                                     << "Papyrant, Maintenance, bibliography name is: shelf";
    }
    void buttonOpensItsScreenAndHidesThePanel()
    {
        QFETCH(QString, button);
        QFETCH(int, kind);
        QFETCH(QString, caption);
        clickOn(button.toLatin1().constData());
        TestScreen* screen = screenOf(ScreenKind(kind));
        QVERIFY(screen);
        QVERIFY(screen->isVisible());
        QCOMPARE(screen->windowTitle(), caption);
        QVERIFY(!m_panel->isVisible());
        QCOMPARE(TestScreen::created, 1);
    }

    void backReturnsAndTheCountIsReread()
    {
        clickOn("Picture17");
        TestScreen* screen = screenOf(ScreenKind::SearchResults);
        screen->addRecord();
        screen->addRecord();
        QPointer<TestScreen> watch(screen);
        back(screen);
        QCOMPARE(screen->unloads, 1);
        QVERIFY(m_panel->isVisible());
        QCOMPARE(programState().ReturnToPanel, std::int16_t(0));
        QCOMPARE(status(), QStringLiteral("bibliography name is: shelf, contains 3 records"));
        // Closed means destroyed: reopening starts afresh.
        QTRY_VERIFY(watch.isNull());
        QCOMPARE(screens().existing(ScreenKind::SearchResults), nullptr);
        clickOn("Picture17");
        QVERIFY(screenOf(ScreenKind::SearchResults));
        QCOMPARE(TestScreen::created, 2);
        QCOMPARE(TestScreen::destroyed, 1);
    }

    void oneInstancePerKind()
    {
        QWidget* first = screens().show(ScreenKind::Maintenance);
        QWidget* again = screens().show(ScreenKind::Maintenance);
        QCOMPARE(first, again);
        QCOMPARE(TestScreen::created, 1);
    }

    void closeBoxOnAScreenEndsTheProgram()
    {
        clickOn("Picture9");
        QPointer<TestScreen> screen = screenOf(ScreenKind::ManualAdding);
        QVERIFY(screen->close());
        QCOMPARE(screen->unloads, 1);
        QVERIFY(!m_panel || !m_panel->isVisible());
        QTRY_VERIFY(m_panel.isNull());
        QTRY_VERIFY(screen.isNull());
    }

    void closingThePanelClosesEveryScreen()
    {
        QPointer<QWidget> screen = screens().show(ScreenKind::AutoExtract);
        QVERIFY(screen);
        m_panel->close();
        QTRY_VERIFY(m_panel.isNull());
        QTRY_VERIFY(screen.isNull());
    }

    void manualFromExtractReturnsToAutoExtract()
    {
        clickOn("Picture7");
        TestScreen* extract = screenOf(ScreenKind::AutoExtract);
        // The extraction run hands failed records to manual adding and waits hidden.
        programState().ManualFromExtract = 1;
        TestScreen* manual = static_cast<TestScreen*>(screens().show(ScreenKind::ManualAdding));
        extract->hide();
        manual->addRecord();
        back(manual);
        QVERIFY(extract->isVisible());
        QVERIFY(!m_panel->isVisible());
        QCOMPARE(programState().ManualFromExtract, std::int16_t(0));
        QCOMPARE(programState().ReturnToPanel, std::int16_t(0));
        // The count was re-read on the way, ready for when the panel comes back.
        QCOMPARE(status(), QStringLiteral("bibliography name is: shelf, contains 2 records"));
        back(extract);
        QVERIFY(m_panel->isVisible());
    }
};

QTEST_MAIN(TestScreenRegistry)
#include "tst_ScreenRegistry.moc"
