#pragma once
// Figures of the maintenance screen on generated 100,000-record bibliographies: auto
// remove, find next and renaming a category, each beside the sqlite3 shell doing the
// corresponding reading or statement on the same file in the same run (the target), and
// beside the same statement run in this process through SQLite's C API (shown only).

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

struct MaintenanceBenchSettings {
    QString templatePath; // the empty bibliography new files are copied from
    QString dataFolder; // generated files are kept here between runs
    int records = 100000;
};

// The three figures, their bibliographies made (once, then kept) before they return.
std::vector<Figure> maintenanceFigures(const MaintenanceBenchSettings& settings);

} // namespace papyrant::bench
