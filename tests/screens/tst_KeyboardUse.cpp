// Every screen from the keyboard alone: Tab reaches every control, in reading order;
// Ctrl+Tab and Ctrl+PgDn switch tabs from inside a page; the control that takes the focus
// comes into view; picture buttons wear a ring that can be seen when the keyboard
// focuses them.

#include "app/ProgramScreens.h"
#include "entry/AutoExtractForm.h"
#include "entry/ManualForm.h"
#include "maintenance/MaintOptionForm.h"
#include "maintenance/MaintenanceForm.h"
#include "options/OptionForm.h"
#include "screens/FocusRingStyle.h"
#include "screens/ScreenKit.h"
#include "search/CriteriaGrid.h"
#include "search/ReportForm.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

// A screen, a tab of it or a dialog, ready to be walked.
enum class Place {
    AutoExtract,
    Manual,
    SearchItems,
    Results,
    EditResults,
    ManageResults,
    Repeated,
    Cleanup,
    SearchOptions,
    AutoRemoveOptions
};

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// The controls a user must be able to reach: shown, enabled, taking the focus by Tab. Of
// a group of option buttons Tab reaches the chosen one; the arrows move among them.
QList<QWidget*> tabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || w->focusProxy() || w->window() != window)
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus)
            continue;
        if (auto* option = qobject_cast<QRadioButton*>(w); option && !option->isChecked())
            continue;
        stops << w;
    }
    return stops;
}

// The controls Tab passes through, once round from the first.
QList<QWidget*> tabWalk(QWidget* window)
{
    // A dialog over its screen shares the screen's activation; the keys go to the dialog.
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }))
        return {};
    QWidget* start = tabStops(window).value(0);
    // The first control in the focus chain is where the walk begins.
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (tabStops(window).contains(w)) {
            start = w;
            break;
        }
    }
    if (!start)
        return {};
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> walked;
    while (walked.size() < 400) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused || (!walked.isEmpty() && focused == walked.front()))
            break;
        walked << focused;
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return walked;
}

} // namespace

class KeyboardUseTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScreenFixture> m_fixture;
    AutoRemoveOptions m_autoRemove;

    template <typename Screen>
    Screen* open(ScreenKind kind)
    {
        auto* screen = qobject_cast<Screen*>(screens().show(kind, m_fixture->bibliography()));
        if (!screen || !QTest::qWaitForWindowExposed(screen))
            qFatal("the screen did not open");
        return screen;
    }

    // Opens a place and gives its window.
    QWidget* show(Place place)
    {
        switch (place) {
        case Place::AutoExtract: return open<AutoExtractForm>(ScreenKind::AutoExtract);
        case Place::Manual: return open<ManualForm>(ScreenKind::ManualAdding);
        case Place::SearchItems:
        case Place::Results:
        case Place::EditResults:
        case Place::ManageResults:
        case Place::SearchOptions: {
            auto* report = open<ReportForm>(ScreenKind::SearchResults);
            report->criteria()->wordsBox(0)->setText(u"gene"_s);
            report->Search();
            // The screen takes input again once the page is on view.
            if (!QTest::qWaitFor([report] { return report->isEnabled(); }))
                qFatal("the search did not end");
            if (place == Place::SearchOptions) {
                the<QToolButton>(report, u"Command2"_s)->click();
                return report->options();
            }
            report->tabs()->setCurrentIndex(static_cast<int>(place) - static_cast<int>(Place::SearchItems));
            return report;
        }
        case Place::Repeated:
        case Place::Cleanup:
        case Place::AutoRemoveOptions: {
            auto* maintenance = open<MaintenanceForm>(ScreenKind::Maintenance);
            if (place == Place::AutoRemoveOptions) {
                click(maintenance, u"CommandOptions"_s);
                return maintenance->findChild<MaintOptionForm*>();
            }
            the<QTabWidget>(maintenance, u"Tab1"_s)->setCurrentIndex(place == Place::Cleanup);
            return maintenance;
        }
        }
        return nullptr;
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ScreenFixture>();
        installScreenKit();
        registerProgramScreens(m_autoRemove);
        std::vector<TestRecord> records;
        for (const char* title : {"Gene one", "Gene two", "Gene three"})
            records.push_back({{"Title", title}, {"TitelS", title}, {"Category", "Crops"}, {"Entry_Date", "1.2.2020"}});
        m_fixture->openBibliography(u"keys.pyr"_s, records);
    }
    void cleanup() { m_fixture.reset(); }

    void tabReachesEveryControlInReadingOrder_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QStringList>("order"); // some of the controls, in the order they stand
        row("auto extract", Place::AutoExtract,
            QStringList{"Command2", "Command9", role::Back, "RText1", "Text2_0", "Command1_0", "Text4_0", "Command8_0",
                "Option1_0", "Text2_1", "Text4_8", "Command8_8", "Combo1", "Command4", "Combo2", "Command5"});
        row("manual adding", Place::Manual,
            QStringList{"Command4", "Command6", "Command9", role::Back, "RText1", "Text2_0", "Command1_0", "Text2_8",
                "Command1_8", "Text2_9", "Text2_10", "Combo1", "Command5", "Command2"});
        row("search items", Place::SearchItems,
            QStringList{role::Back, "Command2", "Command6", "Command14", "TextBrackets1_0", "TextFind1_0",
                "TextBrackets2_0", "Combo1_0", "TextBrackets1_1", "Combo1_9", "Text3", "Command8"});
        row("results", Place::Results,
            QStringList{role::Back, "Command10", "Command5", "Command9", "CommandExport", "Command14", "Combo2",
                "Command4", "RText1"});
        row("edit results", Place::EditResults,
            QStringList{"CommandDown", "Text4", "CommandUpdate", "CommandRemove", "CommandCite", "Text2_0", "Text2_1",
                "Text2_10", "Combo3", "Command7"});
        row("manage results", Place::ManageResults, QStringList{"Combo4", "Command1", "Command12", "Command13"});
        row("remove repeated records", Place::Repeated,
            QStringList{"Command1", "Text2_0", "Text2_11", "Command5", "CommandOptions", "Command9", role::Back});
        row("cleanup", Place::Cleanup, QStringList{"Combo1", "Combo2", "Command9", role::Back});
        row("search options", Place::SearchOptions,
            QStringList{"List1Vis", "CheckwHoleWord", "List2Vis", "CheckRef", "Combo2", "CheckYears", "CheckLanguage",
                "List3", "Command1", "Command2"});
        row("auto remove options", Place::AutoRemoveOptions, QStringList{"List1", "Command1"});
    }
    void tabReachesEveryControlInReadingOrder()
    {
        QFETCH(Place, place);
        QFETCH(QStringList, order);
        QWidget* window = show(place);
        const QList<QWidget*> walked = tabWalk(window);
        QStringList names;
        for (const QWidget* w : walked)
            names << nameOf(w);
        for (QWidget* stop : tabStops(window))
            QVERIFY2(walked.contains(stop), qPrintable(nameOf(stop) + u" is never reached: "_s + names.join(u' ')));
        qsizetype at = 0;
        for (const QString& name : order) {
            const qsizetype found = names.indexOf(name, at);
            QVERIFY2(found >= 0, qPrintable(name + u" out of order: "_s + names.join(u' ')));
            at = found + 1;
        }
    }

    void ctrlTabAndCtrlPageKeysSwitchTabsFromInsideAPage()
    {
        auto* report = qobject_cast<ReportForm*>(show(Place::SearchItems));
        QTabWidget* tabs = report->tabs();
        const auto press = [](const char* control, QWidget* screen, QKeyCombination keys) {
            QWidget* target = the(screen, QLatin1String(control));
            target->setFocus();
            QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        };
        press("TextFind1_0", report, Qt::CTRL | Qt::Key_Tab);
        QCOMPARE(tabs->currentIndex(), 1);
        press("RText1", report, Qt::CTRL | Qt::Key_PageDown);
        QCOMPARE(tabs->currentIndex(), 2);
        press("Text2_8", report, Qt::CTRL | Qt::Key_PageDown);
        QCOMPARE(tabs->currentIndex(), 3);
        press("Combo4", report, Qt::CTRL | Qt::Key_PageUp);
        QCOMPARE(tabs->currentIndex(), 2);
        press("Text2_0", report, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
        QCOMPARE(tabs->currentIndex(), 1);
    }

    void focusedBoxComesIntoView()
    {
        QWidget* screen = show(Place::Manual);
        screen->resize(900, 420);
        auto* frame = the<QScrollArea>(screen, role::EntryColumn);
        QTRY_VERIFY(frame->verticalScrollBar()->maximum() > 0);
        const auto inView = [frame](const char* name) {
            QWidget* box = the(frame, QLatin1String(name));
            const QRect shown(box->mapTo(frame->viewport(), QPoint(0, 0)), box->size());
            return frame->viewport()->rect().contains(shown);
        };
        QVERIFY(!inView("Text2_8"));
        the(screen, u"Command1_7"_s)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(nameOf(QApplication::focusWidget()), u"Text2_8"_s);
        QVERIFY(inView("Text2_8"));
        // Shift+Tab from the category box back into the column, and the program's own focus.
        the(screen, u"Combo1"_s)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(inView("Text2_10"));
        the(screen, u"Text2_0"_s)->setFocus();
        QVERIFY(inView("Text2_0"));
    }

    void pictureButtonsWearAVisibleRingWhenTheKeyboardFocusesThem()
    {
        QWidget* screen = show(Place::Cleanup);
        auto* help = the<QToolButton>(screen, u"Command9"_s);
        QVERIFY(qobject_cast<FocusRingStyle*>(QApplication::style()));
        const auto ringPixels = [help] {
            const QImage face = help->grab().toImage();
            int amber = 0;
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x) {
                    const QColor c = face.pixelColor(x, y);
                    amber += std::abs(c.red() - 0xe9) + std::abs(c.green() - 0xa2) + std::abs(c.blue() - 0x3b) < 60;
                }
            }
            return amber;
        };
        help->setFocus(Qt::MouseFocusReason);
        QCOMPARE(ringPixels(), 0);
        the(screen, role::Back)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), help);
        // A ring all round: at least the button's outline in amber.
        QVERIFY2(ringPixels() >= help->width() + help->height(), qPrintable(QString::number(ringPixels())));
    }
};

QTEST_MAIN(KeyboardUseTest)
#include "tst_KeyboardUse.moc"
