#pragma once
// The small picture buttons of the maintenance screen: an icon, a tool tip that says what
// it does (also its accessible name) and the design name as object name.

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
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    return button;
}

} // namespace papyrant
