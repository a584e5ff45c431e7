#pragma once
// One set-up for every screen test: a throw-away program folder that is also the working
// directory (as at start), scripted prompts, and on request the control panel or an open
// bibliography. Tearing it down closes whatever screens the test left open.

#include "panel/MainForm.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QTest>

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

    // The open bibliography screens are made over: the control panel's while it is open,
    // otherwise the program folder's.
    Bibliography& bibliography();
    // Makes a bibliography in the program folder and opens it as create or open would.
    // Gives its path.
    QString openBibliography(const QString& fileName, const std::vector<TestRecord>& records = {});

    // Fails the running test when a prompt came that the test did not script.
    void verifyNoUnexpectedPrompts() const;

private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QPointer<MainForm> m_panel;
};

// The controls tests press most, by what they do rather than by their design names.
namespace role {
inline const QString NewButton = QStringLiteral("Picture1");
inline const QString OpenButton = QStringLiteral("Picture13");
inline const QString AutoExtractButton = QStringLiteral("Picture7");
inline const QString AddManuallyButton = QStringLiteral("Picture9");
inline const QString SearchButton = QStringLiteral("Picture17");
inline const QString MaintenanceButton = QStringLiteral("Picture15");
inline const QString HelpButton = QStringLiteral("Picture19");
inline const QString ExitButton = QStringLiteral("Picture2");
// Every working screen's way back: to the panel, or on the results screen's tabs to the
// criteria.
inline const QString Back = QStringLiteral("Command3");
// The auto-extract screen's progress panel, shown while a run goes on.
inline const QString ExtractProgress = QStringLiteral("Picture1");
// Manual adding's scrolling column of entry boxes.
inline const QString EntryColumn = QStringLiteral("Picture1");
// The similarity mark beside field `field` on the review of repeated records.
inline QString SimilarityMark(int field)
{
    return QStringLiteral("Picture3_%1").arg(field);
}
// The strip that holds criteria row `row` of the search items.
inline QString CriteriaRow(int row)
{
    return QStringLiteral("Picture1_%1").arg(row);
}
} // namespace role

// Presses one of the control panel's picture buttons, as a user clicks it.
inline void pressPanel(const QObject* panel, const QString& button)
{
    QTest::mouseClick(panel->findChild<QWidget*>(button), Qt::LeftButton, {}, QPoint(20, 20));
}

// A control of a screen by its design name; a missing one ends the run at once, as no
// later check could mean anything without it.
template <typename T = QWidget>
T* the(const QObject* screen, const QString& name)
{
    T* found = screen->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A left click on a screen's control.
inline void click(const QObject* screen, const QString& name)
{
    QTest::mouseClick(the(screen, name), Qt::LeftButton);
}

// Ticks or clears a list entry from the keyboard, as a user does: current row, Space.
inline void toggle(QListWidget* list, int row)
{
    list->setFocus();
    list->setCurrentRow(row);
    const Qt::CheckState before = list->item(row)->checkState();
    QTest::keyClick(list->viewport(), Qt::Key_Space);
    QVERIFY(list->item(row)->checkState() != before);
}

// Chooses a combo box entry with the arrow keys.
inline void choose(QComboBox* box, const QString& text)
{
    box->setFocus();
    const int target = box->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    while (box->currentIndex() != target)
        QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
}

// The entries of a combo box, in order.
inline QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace papyrant::test
