#pragma once
// Figures of reading tagged exports by their tags: 10,000-record MEDLINE and RIS exports
// (about 20 MB each) opened, detected and mapped record by record in ticks of about 15 ms,
// as the auto-extract screen will store them (storing comes with its run), and a
// 50,000-record RIS export (about 100 MB) read the same way in a fresh process, for its
// time and its peak resident memory.

#include "FigureRunner.h"

#include <QString>

#include <vector>

namespace papyrant::bench {

// The generated exports the tagged figures read, written once into the data folder.
struct TaggedExports {
    QString medline; // 10,000 MEDLINE records
    QString ris; // 10,000 RIS records
    QString largeRis; // 50,000 RIS records
};
inline constexpr int TaggedExportRecords = 10000;
inline constexpr int LargeTaggedExportRecords = 50000;
TaggedExports taggedExports(const QString& dataFolder);

std::vector<Figure> taggedReadingFigures(const QString& dataFolder);

// Run by `papyrant-bench --tagged-probe FILE` in a fresh process: reads, detects and maps
// the file and prints the seconds, the peak resident kilobytes and the file's bytes.
int taggedReadingProbe(const QString& path);

} // namespace papyrant::bench
