#pragma once
// What every figure of the benchmark shares: its sides (Papyrant's and the references'),
// the runner that times them in turns and judges the medians, and the sqlite3 shell as a
// reference run as a whole process.

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <vector>

namespace papyrant::bench {

// One side of a figure: one run of the job, giving its measure (seconds unless the
// figure says otherwise). Preparation that is not part of the job stays outside the
// measure.
struct Side {
    QString name;
    std::function<double()> run;
};

struct Reference {
    Side side;
    double maxRatio = 0; // largest papyrant / reference ratio of the medians; 0 shows it only
};

// A figure with a target. To add one, write a function that returns it and list it in
// main(): the runner times, prints and judges it.
struct Figure {
    QString title;
    Side ours;
    std::vector<Reference> references;
    double maxMedian = 0; // largest median of ours; 0 for none
    QString unit = QStringLiteral("s");
    std::function<bool()> agree; // optional: prints and checks that the sides found the same
};

// Runs every side once per run, in turns, prints each side's minimum, median and maximum
// and judges the targets. True when they all hold.
bool runFigure(const Figure& figure, int runs);

// Times one run of the work in seconds.
template <typename Work>
double timed(Work&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

// The sqlite3 shell started on the file with one statement, timed as a whole process;
// its rows go to `output` when given, else to the null device.
double shellSeconds(const QString& path, const QString& sql, QString* output = nullptr);

} // namespace papyrant::bench
