#pragma once
// Colour and weight of stretches of a page's text, the way presentation marks them.
// Marks are applied in order, as to a text view: where two overlap, the later one wins.
// Characters no mark covers are in the view's default colour and regular weight.

#include <QtGlobal>

#include <vector>

namespace papyrant {

inline constexpr quint32 RedRgb = 0xFF0000;
inline constexpr quint32 BlueRgb = 0x0000FF;
inline constexpr quint32 BlackRgb = 0x000000;

struct TextMark {
    int start = 0; // first character (UTF-16 position in the page text)
    int length = 0;
    quint32 rgb = BlackRgb; // 0xRRGGBB
    bool bold = false;

    friend bool operator==(const TextMark&, const TextMark&) = default;
};

using TextMarks = std::vector<TextMark>;

} // namespace papyrant
