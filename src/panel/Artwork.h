#pragma once
// The panel's artwork lives as SVG in the program's resources (":/art/..."); it is
// rendered at the screen's device pixel ratio so it stays crisp on scaled displays.

#include <QCursor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace papyrant {

// ":/art/" + leaf, e.g. artPath("banner") -> ":/art/banner.svg".
QString artPath(const QString& leaf);

// Renders the picture at `logicalSize` for a display of ratio `devicePixelRatio`.
// A missing or broken picture gives a null pixmap.
QPixmap renderArt(const QString& leaf, QSize logicalSize, qreal devicePixelRatio);

// The hand pointer of hovered picture buttons.
QCursor handCursor(qreal devicePixelRatio);

} // namespace papyrant
