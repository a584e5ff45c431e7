#include "CitationExportBench.h"

#include "BenchFiles.h"
#include "BibliographyGenerator.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/TickBudget.h"
#include "formats/CitationExport.h"
#include "search/ResultExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <time.h>

namespace papyrant::bench {
namespace {

constexpr double MostSeconds = 3.0;
constexpr double LongestTickMs = 50.0;
constexpr double MostGrowthMb = 50.0;

struct Format {
    CitationFormat format;
    QString name; // as the probe is told it, and the file's extension
    QString title;
};

const std::vector<Format>& formats()
{
    static const std::vector<Format> all{{CitationFormat::Ris, QStringLiteral("ris"), QStringLiteral("RIS")},
        {CitationFormat::BibTex, QStringLiteral("bib"), QStringLiteral("BibTeX")},
        {CitationFormat::CslJson, QStringLiteral("json"), QStringLiteral("CSL-JSON")}};
    return all;
}

// Keeps each write to it as one piece: the bytes the writer hands over for each record.
class Pieces final : public QIODevice {
public:
    std::vector<QByteArray> pieces;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        pieces.emplace_back(data, length);
        return length;
    }
};

// The bibliography the export reads: the records written once into a copy of the
// template in the data folder and kept for later runs.
QString storedBibliography(const CitationExportBenchSettings& settings)
{
    const QString path = QStringLiteral("%1/export-%2.pyr").arg(settings.dataFolder).arg(settings.records);
    if (QFileInfo(path).size() > 0)
        return path;
    std::printf("  (generating %s)\n", qPrintable(path));
    std::fflush(stdout);
    const QString making = path + QStringLiteral(".making");
    freshBibliography(settings.templatePath, making);
    {
        Database db(making);
        BibliographyGenerator generator;
        appendGenerated(db, settings.records, generator);
    }
    if (!QFile::rename(making, path))
        throw std::runtime_error("cannot name " + path.toStdString());
    return path;
}

// The result of a search that finds every record: its keys in its order.
std::vector<std::int64_t> everyKey(Database& db)
{
    return RecordSet(db, QStringLiteral("Select Abstracts.* From Abstracts")).rowKeys();
}

// The bytes the writer hands over for each record of the store, in the result's order.
std::vector<QByteArray> writtenPieces(CitationFormat format, const QString& bibliography)
{
    Database db(bibliography);
    RecordSet records(db, QStringLiteral("Select Abstracts.* From Abstracts"));
    Pieces device;
    device.open(QIODevice::WriteOnly);
    const auto writer = makeCitationWriter(format);
    writer->begin(device);
    for (records.moveFirst(); !records.eof(); records.moveNext())
        writer->write(currentRecordValues(records));
    writer->finish();
    return std::move(device.pieces);
}

double cpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double threadCpuMs()
{
    return cpuMs(CLOCK_THREAD_CPUTIME_ID);
}

// One export as the results screen runs it: the stepper, tick after tick, each with the
// driver's budget, from the keys of the result to the file in place.
struct ExportTiming {
    double longestTickMs = 0; // of every run so far
    // The same in this thread's processor time: on a busy machine a tick can be long on
    // the clock only because the thread waited for a processor.
    double longestTickCpuMs = 0;
    int ticks = 0; // of the last run
    std::vector<double> cpuSeconds; // processor time of each run, the kernel's writing included
    qint64 bytes = 0;
};

double exportInTicks(const QString& path, CitationFormat format, const QString& bibliography, ExportTiming& timing)
{
    // Each run writes a new file: replacing the file of the run before would add the
    // freeing of its blocks by the file system to the last tick.
    QFile::remove(path);
    Database db(bibliography);
    std::vector<std::int64_t> keys = everyKey(db);
    timing.ticks = 0;
    const double cpuStart = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const double seconds = timed([&] {
        ResultExport run(db, std::move(keys), format, path);
        StepOutcome outcome;
        do {
            QElapsedTimer tick;
            tick.start();
            const double cpuStart = threadCpuMs();
            outcome = run.step(TickBudget());
            timing.longestTickMs = std::max(timing.longestTickMs, tick.nsecsElapsed() / 1e6);
            timing.longestTickCpuMs = std::max(timing.longestTickCpuMs, threadCpuMs() - cpuStart);
            ++timing.ticks;
        } while (outcome.ongoing());
        if (outcome.kind == StepOutcome::Kind::Failed)
            throw std::runtime_error("the export failed: " + outcome.reason.toStdString());
    });
    timing.cpuSeconds.push_back((cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / 1e3);
    timing.bytes = QFileInfo(path).size();
    return seconds;
}

double saveFileLoop(const QString& path, const std::vector<QByteArray>& pieces)
{
    QFile::remove(path);
    return timed([&] {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot open " + path.toStdString());
        for (const QByteArray& piece : pieces)
            file.write(piece);
        if (!file.commit())
            throw std::runtime_error("cannot write " + path.toStdString());
    });
}

Figure timeFigure(const Format& format, const CitationExportBenchSettings& settings, const QString& bibliography)
{
    // The reference's bytes are made when the figure first runs and dropped when it ends,
    // so only one format's bytes are held at a time.
    auto pieces = std::make_shared<std::vector<QByteArray>>();
    const QString ours = QStringLiteral("%1/export-ours.%2").arg(settings.dataFolder, format.name);
    const QString reference = QStringLiteral("%1/export-reference.%2").arg(settings.dataFolder, format.name);
    auto timing = std::make_shared<ExportTiming>();
    Figure figure;
    figure.title = QStringLiteral("Export a result of %1 stored records as %2").arg(settings.records).arg(format.title);
    figure.maxMedian = MostSeconds;
    figure.ours = {QStringLiteral("papyrant ResultExport in %1 ms ticks").arg(TickLength.count()),
        [=] { return exportInTicks(ours, format.format, bibliography, *timing); }};
    figure.references.push_back({{QStringLiteral("QSaveFile writing the same bytes in one loop"),
                                     [=] {
                                         if (pieces->empty())
                                             *pieces = writtenPieces(format.format, bibliography);
                                         return saveFileLoop(reference, *pieces);
                                     }},
        0});
    figure.agree = [=] {
        const qint64 referenceSize = QFileInfo(reference).size();
        std::printf("  file sizes: papyrant %lld, reference %lld bytes; %d ticks, the longest of all runs %.1f ms "
                    "(target <= %.0f), in processor time %.1f ms\n",
            static_cast<long long>(timing->bytes), static_cast<long long>(referenceSize), timing->ticks,
            timing->longestTickMs, LongestTickMs, timing->longestTickCpuMs);
        std::vector<double> cpu = timing->cpuSeconds;
        std::sort(cpu.begin(), cpu.end());
        if (!cpu.empty())
            std::printf(
                "  processor time of papyrant's export: min %.3f, median %.3f s\n", cpu.front(), cpu[cpu.size() / 2]);
        QFile::remove(ours);
        QFile::remove(reference);
        *pieces = {};
        return timing->bytes == referenceSize && timing->bytes > 0 && timing->longestTickMs <= LongestTickMs;
    };
    return figure;
}

Figure memoryFigure(const Format& format, const CitationExportBenchSettings& settings)
{
    Figure figure;
    figure.title
        = QStringLiteral("Resident memory an export of %1 stored records as %2 adds (each run a fresh process)")
              .arg(settings.records)
              .arg(format.title);
    figure.unit = QStringLiteral("MB");
    figure.maxMedian = MostGrowthMb;
    figure.ours
        = {QStringLiteral("resident peak growth"), [=] {
               QProcess probe;
               probe.start(QCoreApplication::applicationFilePath(),
                   {"--export-probe", format.name, "--records", QString::number(settings.records), "--data",
                       settings.dataFolder, "--program-folder", QFileInfo(settings.templatePath).path()});
               if (!probe.waitForFinished(-1) || probe.exitCode() != 0)
                   throw std::runtime_error("the export probe failed: " + probe.readAllStandardError().toStdString());
               const QStringList kilobytes = QString::fromUtf8(probe.readAllStandardOutput()).split(u' ');
               const long before = kilobytes.value(0).toLong();
               const long peak = kilobytes.value(1).toLong();
               std::printf("  resident %ld kB before, %ld kB at the peak\n", before, peak);
               return (peak - before) / 1024.0;
           }};
    return figure;
}

} // namespace

std::vector<Figure> citationExportFigures(const CitationExportBenchSettings& settings)
{
    QDir().mkpath(settings.dataFolder);
    const QString bibliography = storedBibliography(settings);
    std::vector<Figure> figures;
    for (const Format& format : formats())
        figures.push_back(timeFigure(format, settings, bibliography));
    for (const Format& format : formats())
        figures.push_back(memoryFigure(format, settings));
    return figures;
}

int citationExportProbe(const QString& format, const CitationExportBenchSettings& settings)
{
    const auto known = std::find_if(
        formats().begin(), formats().end(), [&](const Format& candidate) { return candidate.name == format; });
    if (known == formats().end())
        return 2;
    const QString path = QStringLiteral("%1/export-probe.%2").arg(settings.dataFolder, format);
    // The screen holds the result's record set (its keys) before the export starts.
    Database db(storedBibliography(settings));
    RecordSet result(db, QStringLiteral("Select Abstracts.* From Abstracts"));
    // The peak is counted from here: the kernel forgets the earlier one.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const long before = statusKilobytes("VmRSS:");
    StepOutcome outcome;
    {
        ResultExport run(db, result.rowKeys(), known->format, path);
        outcome = runToEnd(run);
    }
    const long peak = statusKilobytes("VmHWM:");
    QFile::remove(path);
    if (outcome.kind == StepOutcome::Kind::Failed) {
        std::fprintf(stderr, "the export failed: %s\n", qPrintable(outcome.reason));
        return 1;
    }
    std::printf("%ld %ld\n", before, peak);
    return 0;
}

} // namespace papyrant::bench
