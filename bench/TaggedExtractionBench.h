#pragma once
// Figures of extracting tagged exports by their tags, storing included: 10,000-record
// MEDLINE and RIS exports (about 20 MB each) read, detected and stored by the ready-made tag
// map, against the ready-made label set extracting the same file in the same run (turn
// about); and a 50,000-record RIS export (about 100 MB) opened into the text view and stored
// in a fresh process, for its time and its peak resident memory.

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

std::vector<Figure> taggedExtractionFigures(const QString& programFolder, const QString& dataFolder);

} // namespace papyrant::bench
