#pragma once
// Figures of the citation export: a result of 100,000 records, read from a bibliography
// by its keys, written to RIS, BibTeX and CSL-JSON by the results screen's stepper in
// ticks, beside QSaveFile writing the same bytes in one loop (the reference), and the
// resident memory an export adds, each run measured in a fresh process.

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

struct CitationExportBenchSettings {
    QString dataFolder; // exported files are written here and removed after each figure
    int records = 100000;
    QString templatePath; // the empty bibliography the stored records go into
};

// Three time figures and three memory figures; the records are generated before they return.
std::vector<Figure> citationExportFigures(const CitationExportBenchSettings& settings);

// The memory probe, run in a process of its own: exports the stored records in the format
// named ("ris", "bib", "json") and prints the resident kilobytes before the export and
// at its peak. Returns the process's exit code.
int citationExportProbe(const QString& format, const CitationExportBenchSettings& settings);

} // namespace papyrant::bench
