#include "FigureRunner.h"

#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace papyrant::bench {
namespace {

struct Summary {
    double min = 0, median = 0, max = 0;
};

Summary summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2], samples.back()};
}

bool verdict(const QString& what, double value, double limit)
{
    const bool ok = value <= limit;
    std::printf("  => %-44s %8.3f (target <= %.3f)  %s\n", qPrintable(what), value, limit, ok ? "PASS" : "FAIL");
    return ok;
}

} // namespace

bool runFigure(const Figure& figure, int runs)
{
    std::printf("%s\n", qPrintable(figure.title));
    std::fflush(stdout);
    std::vector<Side> sides{figure.ours};
    for (const Reference& reference : figure.references)
        sides.push_back(reference.side);
    std::vector<std::vector<double>> samples(sides.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t s = 0; s < sides.size(); ++s)
            samples[s].push_back(sides[s].run());
    }
    std::vector<Summary> summaries;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        summaries.push_back(summarise(samples[s]));
        std::printf("  %-44s min %9.3f  median %9.3f  max %9.3f %s\n", qPrintable(sides[s].name), summaries[s].min,
            summaries[s].median, summaries[s].max, qPrintable(figure.unit));
    }
    bool passed = !figure.agree || figure.agree();
    if (figure.maxMedian > 0)
        passed &= verdict("median " + figure.unit, summaries[0].median, figure.maxMedian);
    for (std::size_t r = 0; r < figure.references.size(); ++r) {
        const double ratio = summaries[0].median / summaries[r + 1].median;
        const QString what = "ratio papyrant / " + figure.references[r].side.name;
        if (figure.references[r].maxRatio > 0)
            passed &= verdict(what.left(44), ratio, figure.references[r].maxRatio);
        else
            std::printf("  => %-44s %8.3f (shown only)\n", qPrintable(what.left(44)), ratio);
    }
    return passed;
}

double shellSeconds(const QString& path, const QString& sql, QString* output)
{
    QProcess shell;
    if (!output)
        shell.setStandardOutputFile(QProcess::nullDevice());
    const double seconds = timed([&] {
        shell.start(QStringLiteral("sqlite3"), {path, sql});
        shell.waitForFinished(-1);
    });
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        throw std::runtime_error("the sqlite3 shell failed: " + shell.readAllStandardError().toStdString());
    if (output)
        *output = QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
    return seconds;
}

} // namespace papyrant::bench
