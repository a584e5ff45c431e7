#pragma once
// Figures of record entry: extracting a 10,000-record MEDLINE-like export of about 20 MB
// with the ready-made MEDLINE label set (in timer ticks, as the auto-extract screen runs
// it), and opening a 50 MB export into the text view.

#include <QString>

namespace papyrant::bench {

// Prints each figure (min, median, max over `runs`) with its target; true when every
// median meets its target.
bool entryBench(const QString& programFolder, const QString& dataFolder, int runs);

} // namespace papyrant::bench
