#pragma once
// Scanning long texts (abstracts of thousands of characters, once per record and format)
// for the few characters a writer must treat: the text is read in blocks of a fixed
// length, which the compiler turns into vector instructions, and only from the block that
// holds such a character on is it read one character at a time.

#include <QStringView>

#include <cstdint>

namespace papyrant {

inline constexpr int ScanBlock = 64;

// All ones for true, zero for false: marks combine with | without a branch.
constexpr std::uint16_t mask(bool condition)
{
    return std::uint16_t(-std::uint16_t(condition));
}

// The first position at or after from whose character marked(character) marks, or the
// text's size. marked returns a mask (see mask()) so the blocks can be read in vectors.
template <typename Marked>
qsizetype firstMarked(QStringView text, qsizetype from, Marked marked)
{
    const char16_t* c = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
    for (; i + ScanBlock <= size; i += ScanBlock) {
        const char16_t* block = c + i;
        std::uint16_t any = 0;
        for (int k = 0; k < ScanBlock; ++k)
            any |= marked(std::uint16_t(block[k]));
        if (any)
            break;
    }
    for (; i < size; ++i) {
        if (marked(std::uint16_t(c[i])))
            return i;
    }
    return size;
}

} // namespace papyrant
