#pragma once
// Figures of the "Manage results" work over a whole result: copying it into a new
// bibliography, deleting it, and putting it into a category, each beside the sqlite3 shell
// doing the same rows with the same durability, the two sides taking turns run by run.

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

struct ManageResultsSetup {
    QString templatePath; // the empty bibliography new files are copied from
    QString dataFolder; // where generated bibliographies are kept between runs
    int records = 100000;
};

std::vector<Figure> manageResultsFigures(const ManageResultsSetup& setup);

} // namespace papyrant::bench
