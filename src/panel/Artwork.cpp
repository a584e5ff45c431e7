#include "panel/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources are compiled into a static library, so the linker would drop them
// unless something refers to their initialiser.
static void initialiseArtResources()
{
    Q_INIT_RESOURCE(art);
}

namespace papyrant {

QString artPath(const QString& leaf)
{
    return QStringLiteral(":/art/") + leaf + QStringLiteral(".svg");
}

QPixmap renderArt(const QString& leaf, QSize logicalSize, qreal devicePixelRatio)
{
    static const bool initialised = (initialiseArtResources(), true);
    Q_UNUSED(initialised);
    QSvgRenderer renderer(artPath(leaf));
    if (!renderer.isValid())
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(logicalSize * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QCursor handCursor(qreal devicePixelRatio)
{
    const QPixmap hand = renderArt(QStringLiteral("hand"), QSize(32, 32), devicePixelRatio);
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    // The fingertip of the drawing is its hot spot.
    return QCursor(hand, 11, 2);
}

} // namespace papyrant
