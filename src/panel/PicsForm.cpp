#include "panel/PicsForm.h"

#include "panel/Artwork.h"

namespace papyrant {

namespace {
struct FrameArt {
    const char* name;
    int count;
};
// In array order, array 1 (maintenance) first.
constexpr std::array<FrameArt, 6> ArrayArt{
    {{"maintain", 4}, {"search", 5}, {"create", 3}, {"extract", 6}, {"manual", 6}, {"open", 3}}};
} // namespace

QSize PicsForm::frameSize()
{
    return QSize(680, 150);
}

PicsForm::PicsForm(qreal devicePixelRatio, QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("PicsForm"));
    for (std::size_t i = 0; i < ArrayArt.size(); ++i) {
        for (int frame = 0; frame < ArrayArt[i].count; ++frame) {
            const QString leaf = QStringLiteral("frame-%1-%2").arg(QLatin1String(ArrayArt[i].name)).arg(frame);
            m_pictures[i].push_back(renderArt(leaf, frameSize(), devicePixelRatio));
        }
    }
    // Opening starts from the same still as creating: the closed book on the desk.
    m_pictures[5][0] = m_pictures[2][0];
}

const std::vector<QPixmap>& PicsForm::frames(int pictureArray) const
{
    static const std::vector<QPixmap> none;
    if (pictureArray < 1 || pictureArray > 6)
        return none;
    return m_pictures[static_cast<std::size_t>(pictureArray - 1)];
}

} // namespace papyrant
