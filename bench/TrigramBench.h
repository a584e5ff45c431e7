#pragma once
// Figures of the trigram index on a copy of a generated bibliography (the copy gets three
// planted words in 0.1%, 1% and 10% of its records and then the index): building it in
// ticks, searching each word with it beside SQLite's built-in LIKE, and appending 10,000
// records to the indexed copy beside the same to a copy of it with the index removed.

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

// `source`: a generated bibliography, left as it is; the copies go beside it.
std::vector<Figure> trigramFigures(const QString& source);

} // namespace papyrant::bench
