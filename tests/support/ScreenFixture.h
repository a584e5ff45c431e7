#pragma once
// One set-up for every screen test: a throw-away program folder that is also the working
// directory (as at start), scripted prompts, and on request the control panel or an open
// bibliography. Tearing it down closes whatever screens the test left open.

#include "panel/MainForm.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

namespace papyrant::test {

class ScreenFixture {
public:
    ScreenFixture();
    ~ScreenFixture();
    ScreenFixture(const ScreenFixture&) = delete;
    ScreenFixture& operator=(const ScreenFixture&) = delete;

    TestProgramFolder& folder() { return *m_folder; }
    ScriptedPrompts& prompts() { return *m_prompts; }

    // Shows the control panel (its load takes the program folder from the working
    // directory) and waits until it is on screen.
    MainForm& openPanel();
    MainForm* panel() const { return m_panel.data(); }

    // Makes a bibliography in the program folder and opens it as create or open would
    // (BibPath, BibName, DataPath). Gives its path.
    QString openBibliography(const QString& fileName, const std::vector<TestRecord>& records = {});

    // Fails the running test when a prompt came that the test did not script.
    void verifyNoUnexpectedPrompts() const;

private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QPointer<MainForm> m_panel;
};

} // namespace papyrant::test
