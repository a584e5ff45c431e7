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

    // Frames of array Picture1..Picture6 (number 1 to 6); empty for other numbers.
    const std::vector<QPixmap>& frames(int pictureArray) const;

private:
    // Picture1 maintenance, Picture2 search, Picture3 create, Picture4 auto extract,
    // Picture5 manual adding, Picture6 open.
    std::array<std::vector<QPixmap>, 6> m_pictures;
};

} // namespace papyrant
