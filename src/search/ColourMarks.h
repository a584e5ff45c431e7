#pragma once
// Colour and weight of stretches of a page's text as files are written with them: each
// mark gives both. Marks are applied in order, as to a text view: where two overlap, the
// later one wins. Characters no mark covers are in the reader's default colour and
// regular weight. (Presentation's own marks, TextMark, may change one of the two only;
// colourMarks() turns a page's format runs into these.)

#include <QtGlobal>

#include <vector>

namespace papyrant {

inline constexpr quint32 RedRgb = 0xFF0000;
inline constexpr quint32 BlueRgb = 0x0000FF;
inline constexpr quint32 BlackRgb = 0x000000;

struct ColourMark {
    int start = 0; // first character (UTF-16 position in the page text)
    int length = 0;
    quint32 rgb = BlackRgb; // 0xRRGGBB
    bool bold = false;

    friend bool operator==(const ColourMark&, const ColourMark&) = default;
};

using ColourMarks = std::vector<ColourMark>;

} // namespace papyrant
