#include "screens/PictureButtons.h"

#include <QPushButton>
#include <QToolButton>

namespace papyrant {

QToolButton* pictureButton(
    QWidget* parent, const char* name, const QIcon& icon, const QString& toolTip, ButtonWords words)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(icon);
    button->setAutoRaise(true);
    // A screen reader speaks the tool tip (ScreenKit), also after it changes.
    button->setToolTip(toolTip);
    if (words == ButtonWords::Beside) {
        button->setText(toolTip);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(20, 20));
    } else {
        button->setIconSize(QSize(24, 24));
    }
    return button;
}

QToolButton* pictureButton(
    QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& toolTip, ButtonWords words)
{
    return pictureButton(parent, name, parent->style()->standardIcon(icon), toolTip, words);
}

QPushButton* captionButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace papyrant
