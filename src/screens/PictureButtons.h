#pragma once
// The buttons the working screens are built from: a picture button (an icon, its design
// name as object name, the tool tip, which screen readers speak, and on request the tool
// tip's words beside the icon) and a plain button with a caption.

#include <QIcon>
#include <QString>
#include <QStyle>

class QPushButton;
class QToolButton;
class QWidget;

namespace papyrant {

// Whether a picture button shows the words of its tool tip beside its icon: where icons
// alone would leave a user guessing which button renames and which one deletes.
enum class ButtonWords { Hidden, Beside };

QToolButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, const QString& toolTip,
    ButtonWords words = ButtonWords::Hidden);
// The same with one of the style's stock icons.
QToolButton* pictureButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& toolTip,
    ButtonWords words = ButtonWords::Hidden);

QPushButton* captionButton(QWidget* parent, const QString& name, const QString& caption);

} // namespace papyrant
