#pragma once
// Figures of the maintenance screen on generated 100,000-record bibliographies: auto
// remove, find next and renaming a category, each beside the sqlite3 shell doing the
// corresponding reading or statement on the same file in the same run (the target), and
// beside the same statement run in this process through SQLite's C API (shown only).

#include <QString>

#include <vector>

namespace papyrant::bench {

struct MaintenanceBenchSettings {
    QString templatePath; // the empty bibliography new files are copied from
    QString dataFolder; // generated files are kept here between runs
    int records = 100000;
    int runs = 5;
};

struct MaintenanceFigure {
    QString what; // what Papyrant does
    QString reference; // what the sqlite3 shell does, and the C API in this process
    std::vector<double> ours; // seconds, one per run
    std::vector<double> shell;
    std::vector<double> api;
    double limitSeconds = 0; // the median must stay within
    double limitRatio = 0; // ours / shell medians; 0 when it is shown only
    QString check; // what the run found, for a reader to compare
    bool checkPassed = true;
};

std::vector<MaintenanceFigure> measureMaintenance(const MaintenanceBenchSettings& settings);

// Prints every figure with its reference and targets; true when all hold.
bool reportMaintenance(const std::vector<MaintenanceFigure>& figures);

} // namespace papyrant::bench
