#pragma once
// Figures of the "Manage results" work over a whole result: copying it into a new
// bibliography, deleting it, and putting it into a category.

#include <QString>

namespace papyrant::bench {

struct ManageResultsSetup {
    QString templatePath; // the empty bibliography new files are copied from
    QString dataFolder; // where generated bibliographies are kept between runs
    int records = 100000;
    int runs = 5;
};

struct ManageResultsFigures {
    double copySeconds = 0; // medians
    double copyEveryTickSeconds = 0; // the same with a commit at the end of every tick
    double shellCopySeconds = 0; // the sqlite3 shell's INSERT ... SELECT between the files
    double deleteSeconds = 0;
    double shellDeleteSeconds = 0; // the shell deleting row by row in one statement
    double categorySeconds = 0;
    double shellCategorySeconds = 0; // the shell's UPDATE of every row
    bool targetsMet = false;
};

// Measures, prints each figure with its target and gives the medians.
ManageResultsFigures manageResultsBench(const ManageResultsSetup& setup);

} // namespace papyrant::bench
