#pragma once
// Where the lines of the entry screens' text view start. A line starts after every line
// break (a CR LF pair is one) and after every LongestLine characters of a longer line, so
// no single layout grows with the file. The index is made once for a file and mended
// after each edit from the edited line on, so typing into a file of tens of megabytes
// does not rescan it.

#include <QStringView>

#include <vector>

namespace papyrant {

inline constexpr qsizetype LongestLine = 4096;

// The starts of every line of the text, the first at 0.
std::vector<qsizetype> indexLineStarts(QStringView text);

// Mends `starts`, the index of the text before an edit, now that `text` is the text after
// it: at `start`, `removed` characters were replaced by `inserted` ones. Gives the first
// line whose text may differ from before; lines above it are as they were.
int reindexLineStarts(
    std::vector<qsizetype>& starts, QStringView text, qsizetype start, qsizetype removed, qsizetype inserted);

} // namespace papyrant
