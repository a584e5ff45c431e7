// The tick driver on a bare window: busy while it runs, progress on the bar it is given,
// the screen's counters after every tick, the end heard with the pointer back, a failure
// reported as the sentence and the reason, one run at a time.

#include "screens/BusyState.h"
#include "screens/TickDriver.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QProgressBar>
#include <QtTest>

using namespace papyrant;
using namespace papyrant::test;

namespace {

// Counts to its total one unit a step; fails at `failAt` when given.
class Counter final : public Stepper {
public:
    Counter(int total, int failAt = -1)
        : m_total(total)
        , m_failAt(failAt)
    {
    }
    StepOutcome step(const TickBudget&) override
    {
        if (m_done == m_failAt)
            return StepOutcome::failed(QStringLiteral("disk I/O error"));
        ++m_done;
        return m_done < m_total ? StepOutcome::more() : StepOutcome::done();
    }
    StepProgress progress() const override { return {m_done, m_total}; }

private:
    int m_total;
    int m_failAt;
    int m_done = 0;
};

} // namespace

class TestTickDriver : public QObject {
    Q_OBJECT

private slots:
    void runsBusyWithProgressAndReportsAFailure_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QStringList>("messages");
        row("done", -1, QStringList{});
        row("failed", 2, QStringList{"Copy stopped\ndisk I/O error"});
    }
    void runsBusyWithProgressAndReportsAFailure()
    {
        QFETCH(int, failAt);
        QFETCH(QStringList, messages);
        ScriptedPrompts prompts;
        QWidget screen;
        QProgressBar bar(&screen);
        BusyState busy(&screen);
        TickDriver driver(busy);
        Counter counter(4, failAt);
        QList<int> ticks;
        std::optional<StepOutcome> ended;
        QVERIFY(driver.start(counter,
            {&bar, QStringLiteral("Copy stopped"), [&] { ticks << bar.value(); },
                [&](const StepOutcome& outcome) {
                    QVERIFY(!QApplication::overrideCursor());
                    ended = outcome;
                }}));
        QVERIFY(driver.running() && busy.active() && !screen.isEnabled());
        QCOMPARE(bar.maximum(), 4);
        QVERIFY(!driver.start(counter, {})); // one run at a time
        QTRY_VERIFY(ended.has_value());
        QVERIFY(!driver.running() && !busy.active());
        QCOMPARE(ticks, failAt < 0 ? (QList<int>{1, 2, 3, 4}) : (QList<int>{1, 2, 2}));
        QCOMPARE(ended->kind, failAt < 0 ? StepOutcome::Kind::Done : StepOutcome::Kind::Failed);
        QCOMPARE(prompts.messages(), messages);
        QTRY_VERIFY(screen.isEnabled());
    }
};

QTEST_MAIN(TestTickDriver)
#include "tst_TickDriver.moc"
