#include "CitationExportBench.h"

#include "BenchFiles.h"
#include "BibliographyGenerator.h"

#include "core/TickBudget.h"
#include "formats/CitationExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

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

std::vector<QByteArray> writtenPieces(CitationFormat format, const std::vector<GeneratedRecord>& records)
{
    Pieces device;
    device.open(QIODevice::WriteOnly);
    const auto writer = makeCitationWriter(format);
    writer->begin(device);
    for (const GeneratedRecord& record : records)
        writer->write(record);
    writer->finish();
    return std::move(device.pieces);
}

// One export as the results screen will run it: records written until the tick's budget
// is spent, then the next tick; the file is put in place in a tick of its own.
struct ExportTiming {
    double longestTickMs = 0; // of every run so far
    double longestFinishMs = 0; // the tick that puts the file in place
    qint64 bytes = 0;
};

double exportInTicks(
    const QString& path, CitationFormat format, const std::vector<GeneratedRecord>& records, ExportTiming& timing)
{
    // Each run writes a new file: replacing the file of the run before would add the
    // freeing of its blocks by the file system to the last tick.
    QFile::remove(path);
    QElapsedTimer tick;
    auto endTick = [&] { timing.longestTickMs = std::max(timing.longestTickMs, tick.nsecsElapsed() / 1e6); };
    const double seconds = timed([&] {
        tick.start();
        CitationExport file(format, path);
        if (const auto failure = file.start())
            throw std::runtime_error("cannot start the export: " + failure->toStdString());
        endTick();
        std::size_t next = 0;
        while (next < records.size()) {
            tick.start();
            const TickBudget budget;
            do {
                if (!file.write(records[next++]))
                    throw std::runtime_error("the export failed: " + file.failure().toStdString());
            } while (next < records.size() && !budget.spent());
            endTick();
        }
        tick.start();
        if (const auto failure = file.finish())
            throw std::runtime_error("cannot finish the export: " + failure->toStdString());
        endTick();
        timing.longestFinishMs = std::max(timing.longestFinishMs, tick.nsecsElapsed() / 1e6);
    });
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

Figure timeFigure(const Format& format, const CitationExportBenchSettings& settings,
    std::shared_ptr<const std::vector<GeneratedRecord>> records)
{
    // The reference's bytes are made when the figure first runs and dropped when it ends,
    // so only one format's bytes are held at a time.
    auto pieces = std::make_shared<std::vector<QByteArray>>();
    const QString ours = QStringLiteral("%1/export-ours.%2").arg(settings.dataFolder, format.name);
    const QString reference = QStringLiteral("%1/export-reference.%2").arg(settings.dataFolder, format.name);
    auto timing = std::make_shared<ExportTiming>();
    Figure figure;
    figure.title = QStringLiteral("Export %1 generated records as %2").arg(records->size()).arg(format.title);
    figure.maxMedian = MostSeconds;
    figure.ours = {QStringLiteral("papyrant CitationExport in %1 ms ticks").arg(TickLength.count()),
        [=] { return exportInTicks(ours, format.format, *records, *timing); }};
    figure.references.push_back({{QStringLiteral("QSaveFile writing the same bytes in one loop"),
                                     [=] {
                                         if (pieces->empty())
                                             *pieces = writtenPieces(format.format, *records);
                                         return saveFileLoop(reference, *pieces);
                                     }},
        0});
    figure.agree = [=] {
        const qint64 referenceSize = QFileInfo(reference).size();
        std::printf("  file sizes: papyrant %lld, reference %lld bytes; longest tick %.1f ms, of them putting the "
                    "file in place %.1f ms (target <= %.0f)\n",
            static_cast<long long>(timing->bytes), static_cast<long long>(referenceSize), timing->longestTickMs,
            timing->longestFinishMs, LongestTickMs);
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
    figure.title = QStringLiteral("Resident memory an export of %1 records as %2 adds (each run a fresh process)")
                       .arg(settings.records)
                       .arg(format.title);
    figure.unit = QStringLiteral("MB");
    figure.maxMedian = MostGrowthMb;
    figure.ours
        = {QStringLiteral("resident peak growth"), [=] {
               QProcess probe;
               probe.start(QCoreApplication::applicationFilePath(),
                   {"--export-probe", format.name, "--records", QString::number(settings.records), "--data",
                       settings.dataFolder});
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
    auto records = std::make_shared<const std::vector<GeneratedRecord>>(BibliographyGenerator().make(settings.records));
    std::vector<Figure> figures;
    for (const Format& format : formats())
        figures.push_back(timeFigure(format, settings, records));
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
    BibliographyGenerator generator;
    const QString path = QStringLiteral("%1/export-probe.%2").arg(settings.dataFolder, format);
    CitationExport file(known->format, path);
    GeneratedRecord record = generator.next();
    // The peak is counted from here: the kernel forgets the earlier one.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const long before = statusKilobytes("VmRSS:");
    bool written = !file.start();
    for (int i = 0; written && i < settings.records; ++i, record = generator.next())
        written = file.write(record);
    written = written && !file.finish();
    const long peak = statusKilobytes("VmHWM:");
    QFile::remove(path);
    if (!written) {
        std::fprintf(stderr, "the export failed: %s\n", qPrintable(file.failure()));
        return 1;
    }
    std::printf("%ld %ld\n", before, peak);
    return 0;
}

} // namespace papyrant::bench
