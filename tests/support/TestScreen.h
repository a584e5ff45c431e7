#pragma once
// A minimal working screen for the panel tests: it adds one record to the open
// bibliography when asked and goes back by its "Back to control panel" button.

#include "core/Bibliography.h"
#include "core/RecordSet.h"
#include "screens/WorkingScreen.h"

#include <QPushButton>

#include <array>

namespace papyrant::test {

class TestScreen : public WorkingScreen {
public:
    TestScreen(ScreenKind kind, Bibliography& bibliography)
        : WorkingScreen(kind, bibliography)
    {
        auto* back = new QPushButton(QStringLiteral("Back to control panel"), this);
        back->setObjectName(QStringLiteral("Command3"));
        connect(back, &QPushButton::clicked, this, &WorkingScreen::backToControlPanel);
        ++created;
    }
    ~TestScreen() override { ++destroyed; }

    void addRecord()
    {
        RecordSet table(bibliography().database(), QStringLiteral("Abstracts"));
        table.addNew();
        table.setValue(QStringLiteral("Title"), QStringLiteral("Added on the test screen"));
        table.update();
    }

    static inline int created = 0;
    static inline int destroyed = 0;
    int unloads = 0;

protected:
    void unloadScreen() override { ++unloads; }
};

inline constexpr std::array<ScreenKind, 4> WorkingScreenKinds{
    ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults, ScreenKind::Maintenance};

// A TestScreen for every working screen kind, with the counters back at zero.
inline void registerTestScreens()
{
    for (ScreenKind kind : WorkingScreenKinds)
        screens().registerScreen(kind, [kind](Bibliography& b) { return new TestScreen(kind, b); });
    TestScreen::created = 0;
    TestScreen::destroyed = 0;
}

// Closes what is left of them and removes their factories.
inline void unregisterTestScreens()
{
    for (ScreenKind kind : WorkingScreenKinds) {
        delete screens().existing(kind);
        screens().unregisterScreen(kind);
    }
}

} // namespace papyrant::test
