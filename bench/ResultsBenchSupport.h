#pragma once
// What the results screen's figures share: generated bibliographies, a searched screen,
// medians and the verdict beside the reference.

#include "SearchBench.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace papyrant {
class Bibliography;
class ReportForm;
} // namespace papyrant

namespace papyrant::bench {

double median(std::vector<double> samples);
double milliseconds(const QElapsedTimer& timer);
// Lets the event loop run until the screen takes input again.
void waitUntilEnabled(QWidget& screen);
// Prints both medians and the verdict: ours against `limit`, as a ratio to theirs when
// `ratio`, otherwise in milliseconds.
bool judge(const char* what, double ours, const char* reference, double theirs, double limit, bool ratio);
// A writable copy of the file beside it, named leaf.
QString copyOf(const QString& path, const QString& leaf);
// A bibliography of `count` generated records, made once and kept in the data folder.
QString generatedBibliography(const ResultsBenchSettings& settings, int count);
// The program state and the open bibliography as after opening the file at path.
Bibliography& openBibliography(const ResultsBenchSettings& settings, const QString& path);
// A results screen over the bibliography after a search for `words` (nothing: every record).
std::unique_ptr<ReportForm> searchedScreen(
    const ResultsBenchSettings& settings, const QString& path, const QString& words);

} // namespace papyrant::bench
