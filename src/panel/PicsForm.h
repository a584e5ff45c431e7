#pragma once
// The hidden image holder of the control panel: six arrays of animation frames,
// loaded once and never shown.

#include <QObject>
#include <QPixmap>
#include <QSize>

#include <array>
#include <vector>

namespace papyrant {

class PicsForm : public QObject {
    Q_OBJECT
public:
    // Size of one frame: the banner's size.
    static QSize frameSize();

    explicit PicsForm(qreal devicePixelRatio, QObject* parent = nullptr);

    // Frames of array 1 to 6 (see below); empty for other numbers.
    const std::vector<QPixmap>& frames(int pictureArray) const;

private:
    // Array 1 plays for maintenance, 2 for search, 3 for create, 4 for auto extract, 5 for
    // manual adding, 6 for open.
    std::array<std::vector<QPixmap>, 6> m_pictures;
};

} // namespace papyrant
