#pragma once
// Figures of the search and results screen on a generated bibliography, each printed
// beside its reference from the same run: a page of 50 records with its marks in the
// real results box, a far page of a 100,000-record result, Search pressed to the first
// page shown, 1,000 removals one by one, and "Save all" of every page (SaveAllBench.h).

#include <QString>
#include <QStringList>

namespace papyrant::bench {

struct ResultsBenchSettings {
    QString programFolder; // holds the template
    QString dataFolder; // generated bibliographies, kept between runs
    int records = 100000;
    int runs = 5;
    QStringList only; // figures to run: page, far-page, search, removals, save-all; empty: all
};

// Needs a QApplication. Prints every figure; true when each meets its target.
bool runResultsBench(const ResultsBenchSettings& settings);

} // namespace papyrant::bench
