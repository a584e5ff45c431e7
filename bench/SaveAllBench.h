#pragma once
// "Save all" of a whole-bibliography result as plain text on the results screen: every
// page presented and written, from the click to the viewed page shown again.

#include "SearchBench.h"

namespace papyrant::bench {

// Needs a QApplication. Prints the figure beside its reference; true when it meets its target.
bool saveAllPages(const ResultsBenchSettings& settings, const QString& path);

} // namespace papyrant::bench
