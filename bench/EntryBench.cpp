#include "EntryBench.h"

#include "BenchFiles.h"

#include "MedlineExportGenerator.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "entry/ExtractionRun.h"
#include "entry/LabelSets.h"
#include "entry/TextFileLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

namespace papyrant::bench {
namespace {

constexpr int ExportRecords = 10000;
constexpr qint64 LargeFileBytes = 50LL * 1000 * 1000;

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread spread(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2], samples.back()};
}

void print(const char* name, const Spread& s, const char* unit)
{
    std::printf("  %-34s min %9.3f  median %9.3f  max %9.3f %s\n", name, s.min, s.median, s.max, unit);
}

bool judge(const char* what, double value, double limit)
{
    const bool ok = value <= limit;
    std::printf("  => %-40s %8.3f (target <= %.3f)  %s\n", what, value, limit, ok ? "PASS" : "FAIL");
    return ok;
}

// The MEDLINE-like export of `records` records, written once.
QString exportFile(const QString& dataFolder, int records)
{
    return bench::exportFile<MedlineExportGenerator>(
        dataFolder, QStringLiteral("medline-%1.txt").arg(records), records);
}

struct RunFigures {
    double loadSeconds = 0;
    double runSeconds = 0;
    double cpuSeconds = 0; // processor time of the run: its own cost, without waiting for the disk
    std::vector<double> tickMs;
    int stored = 0;
};

// Opens the export and extracts it into a fresh bibliography the way the screen does: a
// single-shot timer of interval 0, restarted after each tick.
RunFigures timedExtraction(
    const QString& templatePath, const QString& bibliography, const QString& exportPath, const LabelSet& labels)
{
    freshBibliography(templatePath, bibliography);
    RunFigures figures;
    QElapsedTimer clock;
    clock.start();
    TextModel text(loadTextFile(exportPath).text);
    figures.loadSeconds = clock.nsecsElapsed() / 1e9;

    clock.restart();
    Database db(bibliography);
    RecordSet table(db, QStringLiteral("Abstracts"));
    ExtractionRun run(text, db, table);
    if (run.start({labels.startLabels, labels.endLabels, 4 /* Publishing year */, QStringLiteral("Bench")}))
        throw std::runtime_error("the MEDLINE label set has no labels for its first field");
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QElapsedTimer tick;
        tick.start();
        const bool ended = !run.step(TickBudget()).ongoing();
        figures.tickMs.push_back(tick.nsecsElapsed() / 1e6);
        if (ended) {
            run.finish();
            loop.quit();
        } else {
            timer.start();
        }
    });
    timer.start();
    const std::clock_t cpu = std::clock();
    loop.exec();
    figures.runSeconds = clock.nsecsElapsed() / 1e9;
    figures.cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    figures.stored = RecordSet(db, QStringLiteral("Select Abstracts.* From Abstracts")).recordCount();
    return figures;
}

bool extraction(const QString& programFolder, const QString& dataFolder, int runs)
{
    std::printf("Extract a %d-record MEDLINE-like export with the ready-made MEDLINE set\n", ExportRecords);
    const QString path = exportFile(dataFolder, ExportRecords);
    std::printf("  export: %.1f MB\n", QFileInfo(path).size() / 1e6);
    NoPrompts noPrompts;
    const auto labels = LabelSetStore(noPrompts, programFolder + QStringLiteral("/VarEdoAbb"))
                            .load(QStringLiteral("MEDLINE (PubMed)"));
    std::vector<double> load, run, total, cpu, longest, ticks;
    const int expected = ExportRecords - MedlineExportGenerator::recordsWithoutPages(ExportRecords);
    for (int i = 0; i < runs; ++i) {
        const RunFigures f = timedExtraction(programFolder + QStringLiteral("/VarEdoRecors"),
            dataFolder + QStringLiteral("/extract.pyr"), path, *labels);
        if (f.stored != expected)
            throw std::runtime_error(
                "the run stored " + std::to_string(f.stored) + " records, not " + std::to_string(expected));
        std::printf("  run %d: %d ticks, %d records stored\n", i + 1, int(f.tickMs.size()), f.stored);
        load.push_back(f.loadSeconds);
        run.push_back(f.runSeconds);
        total.push_back(f.loadSeconds + f.runSeconds);
        cpu.push_back(f.cpuSeconds);
        longest.push_back(*std::max_element(f.tickMs.begin(), f.tickMs.end()));
        ticks.insert(ticks.end(), f.tickMs.begin(), f.tickMs.end());
    }
    print("open the export (read, decode)", spread(load), "s");
    print("extraction run (timer ticks)", spread(run), "s");
    print("in all", spread(total), "s");
    print("processor time of the run", spread(cpu), "s");
    print("longest tick of a run", spread(longest), "ms");
    std::sort(ticks.begin(), ticks.end());
    std::printf("  ticks of all runs: median %.1f ms, 95th percentile %.1f ms\n", ticks[ticks.size() / 2],
        ticks[ticks.size() * 95 / 100]);
    const bool fast = judge("median seconds in all", spread(total).median, 3.0);
    const bool lively = judge("longest tick of any run (ms)", spread(longest).max, 50.0);
    return fast && lively;
}

bool viewOpening(const QString& dataFolder, int runs)
{
    // About 2 KB a record: enough records for 50 MB.
    const QString small = exportFile(dataFolder, ExportRecords);
    const int records = int(ExportRecords * double(LargeFileBytes) / double(QFileInfo(small).size())) + 1;
    const QString path = exportFile(dataFolder, records);
    std::printf("Open a %.1f MB export into the text view (each run a fresh process)\n", QFileInfo(path).size() / 1e6);
    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/papyrant-view-probe");
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(probe, {path});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            throw std::runtime_error("the view probe failed: " + child.readAllStandardError().toStdString());
        seconds.push_back(QString::fromUtf8(child.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0).toDouble());
    }
    print("read, decode, show in the view", spread(seconds), "s");
    return judge("median seconds", spread(seconds).median, 2.0);
}

} // namespace

bool entryBench(const QString& programFolder, const QString& dataFolder, int runs)
{
    QDir().mkpath(dataFolder);
    const bool extracted = extraction(programFolder, dataFolder, runs);
    const bool opened = viewOpening(dataFolder, runs);
    return extracted && opened;
}

} // namespace papyrant::bench
