#include "TaggedReadingBench.h"

#include "BenchFiles.h"

#include "MedlineExportGenerator.h"
#include "RisExportGenerator.h"

#include "core/TickBudget.h"
#include "entry/TextFileLoader.h"
#include "formats/FormatDetection.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TaggedRecordCursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace papyrant::bench {
namespace {

constexpr int ExportRecords = TaggedExportRecords;
constexpr int LargeRecords = LargeTaggedExportRecords;

struct Reading {
    int records = 0;
    int titled = 0; // records a run would store; the others go to manual adding
    double longestTickMs = 0;
};

// Opens, detects and maps every record, in ticks as a run steps.
Reading readDetectMap(const QString& path)
{
    const LoadedText loaded = loadTextFile(path);
    const FormatDetection detection = detectTaggedFormat(loaded.text);
    const TagMap* map = readyTagMap(detection.format);
    if (!map)
        throw std::runtime_error("no ready-made map for " + path.toStdString());
    TaggedRecordCursor cursor(loaded.text, detection.format);
    TaggedRecord record;
    std::array<QString, ColumnCount> row;
    Reading reading;
    for (bool more = true; more;) {
        const TickBudget budget;
        QElapsedTimer tick;
        tick.start();
        while ((more = cursor.next(record))) {
            mapTaggedRecord(*map, record, row);
            ++reading.records;
            reading.titled += !isEmptyField(row[Title]);
            if (budget.spent())
                break;
        }
        reading.longestTickMs = std::max(reading.longestTickMs, tick.nsecsElapsed() / 1e6);
    }
    if (reading.records != detection.records)
        throw std::runtime_error("detection counted another number of records than were read");
    return reading;
}

Figure tenThousand(const QString& name, const QString& path, int expectedTitled)
{
    auto longest = std::make_shared<std::vector<double>>();
    Figure figure;
    figure.title
        = QStringLiteral("Open, detect and map a %1-record %2 export of %3 MB (ready-made tag map, no storing)")
              .arg(ExportRecords)
              .arg(name)
              .arg(QFileInfo(path).size() / 1e6, 0, 'f', 1);
    figure.ours = {QStringLiteral("read by tags in 15 ms ticks"), [path, longest, expectedTitled] {
                       Reading reading;
                       const double seconds = timed([&] { reading = readDetectMap(path); });
                       if (reading.titled != expectedTitled)
                           throw std::runtime_error("the map found another number of titled records");
                       longest->push_back(reading.longestTickMs);
                       return seconds;
                   }};
    figure.maxMedian = 1.0;
    figure.agree = [longest] {
        const double worst = *std::max_element(longest->begin(), longest->end());
        const bool ok = worst <= 50.0;
        std::printf(
            "  => %-44s %8.3f (target <= 50.000)  %s\n", "longest tick of any run (ms)", worst, ok ? "PASS" : "FAIL");
        return ok;
    };
    return figure;
}

Figure fiftyThousand(const QString& path)
{
    Figure figure;
    const double megabytes = QFileInfo(path).size() / 1e6;
    figure.title
        = QStringLiteral("Peak resident memory reading a %1-record RIS export of %2 MB (fresh process each run)")
              .arg(LargeRecords)
              .arg(megabytes, 0, 'f', 1);
    figure.unit = QStringLiteral("x file size");
    figure.maxMedian = 3.0;
    auto run = std::make_shared<int>(0);
    figure.ours
        = {QStringLiteral("peak resident / file size"), [path, run] {
               QProcess probe;
               probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--tagged-probe"), path});
               if (!probe.waitForFinished(-1) || probe.exitCode() != 0)
                   throw std::runtime_error("the tagged probe failed: " + probe.readAllStandardError().toStdString());
               const QStringList figures = QString::fromUtf8(probe.readAllStandardOutput()).split(u' ');
               const double seconds = figures.value(0).toDouble();
               const double peak = figures.value(1).toDouble() * 1024;
               const double bytes = figures.value(2).toDouble();
               std::printf(
                   "  run %d: %.2f s to open, detect and map; peak resident %.0f MB\n", ++*run, seconds, peak / 1e6);
               return peak / bytes;
           }};
    return figure;
}

} // namespace

TaggedExports taggedExports(const QString& dataFolder)
{
    return {exportFile<MedlineExportGenerator>(
                dataFolder, QStringLiteral("medline-%1.txt").arg(ExportRecords), ExportRecords),
        exportFile<RisExportGenerator>(dataFolder, QStringLiteral("ris-%1.ris").arg(ExportRecords), ExportRecords),
        exportFile<RisExportGenerator>(dataFolder, QStringLiteral("ris-%1.ris").arg(LargeRecords), LargeRecords)};
}

std::vector<Figure> taggedReadingFigures(const QString& dataFolder)
{
    const TaggedExports files = taggedExports(dataFolder);
    return {tenThousand(QStringLiteral("MEDLINE"), files.medline, ExportRecords),
        tenThousand(
            QStringLiteral("RIS"), files.ris, ExportRecords - RisExportGenerator::recordsWithoutTitle(ExportRecords)),
        fiftyThousand(files.largeRis)};
}

int taggedReadingProbe(const QString& path)
{
    try {
        const double seconds = timed([&] { readDetectMap(path); });
        std::printf(
            "%.3f %ld %lld\n", seconds, statusKilobytes("VmHWM:"), static_cast<long long>(QFileInfo(path).size()));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace papyrant::bench
