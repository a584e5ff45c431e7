#pragma once
// The picture buttons of the maintenance screen: the design name as object name, an icon
// and, beside it, the words of its tool tip, as the style's stock icons alone would leave
// a user guessing which one renames and which one deletes.

#include <QStyle>
#include <QToolButton>

namespace papyrant {

inline QToolButton* pictureButton(
    const char* name, const QString& toolTip, QStyle::StandardPixmap icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(toolTip);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    return button;
}

} // namespace papyrant
