#pragma once
// What the kit gives every window of the program once it is installed for the
// application (main does it first; every working screen makes sure of it):
// - a name a screen reader can speak for each control that has none (AccessibleNames),
//   following the tool tip where the name came from it;
// - Ctrl+Tab and Ctrl+PgDn (Ctrl+Shift+Tab and Ctrl+PgUp back) switch the tabs of every
//   tab control, wherever the focus is inside it;
// - the control that takes the focus is scrolled into view in the scroll areas around it;
// - a clear focus ring on buttons that show only a picture;
// - Tab in reading order in the windows that ask for it (followReadingOrder), every
//   working screen among them.
// Installing again does nothing.

class QTabWidget;

namespace papyrant {

void installScreenKit();

// Gives a tab control the keys that switch its tabs (installScreenKit does this for
// every tab control as it is shown).
void addTabSwitchKeys(QTabWidget* tabs);

} // namespace papyrant
