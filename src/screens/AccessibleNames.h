#pragma once
// Names a screen reader speaks for controls that were given none: a button without words
// by its tool tip, a box or list by the label that stands for it (its buddy, else the
// label just before it in its layout), else its tool tip, else the title of the frame
// around it. A name a screen set itself is never replaced.

#include <QString>

class QWidget;

namespace papyrant {

// The name the rules give `control`; empty when it needs none (a button with words, a
// container) or no rule finds one.
QString derivedAccessibleName(const QWidget* control);

// Gives `control` its derived name when it has no name of its own. A name given from the
// tool tip follows later changes of the tool tip (see followToolTip). A combo box also
// gets a label that stands for it, as screen readers on Linux learn from a label what a
// combo box is for (its name there is the value it shows).
void nameIfUnnamed(QWidget* control);

// Gives every control under `root` (and `root`) its derived name where it has none.
void nameUnnamedControls(QWidget* root);

// The tool tip of `control` changed: a name that was taken from it takes the new one.
void followToolTip(QWidget* control);

// A label's text as a name: without mnemonic ampersands, blanks and a closing colon
// ("&Search items :" gives "Search items").
QString nameFromCaption(const QString& caption);

} // namespace papyrant
