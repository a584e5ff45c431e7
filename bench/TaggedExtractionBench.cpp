#include "TaggedExtractionBench.h"

#include "BenchFiles.h"
#include "RisExportGenerator.h"
#include "TaggedReadingBench.h"
#include "TickedExtraction.h"

#include "entry/TextFileLoader.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <ctime>
#include <memory>

namespace papyrant::bench {
namespace {

constexpr int ExportRecords = TaggedExportRecords;
constexpr int LargeRecords = LargeTaggedExportRecords;

struct Setting {
    QString templatePath;
    QString bibliography; // made afresh for every run
};

// One side: read the export, then extract it (by `labels`, else by the tag map), timed.
Side extractionSide(const QString& name, const Setting& setting, const QString& exportPath,
    std::shared_ptr<const LabelSet> labels, int firstField, std::shared_ptr<std::vector<TickedExtraction>> runs)
{
    return {name, [=] {
                freshBibliography(setting.templatePath, setting.bibliography);
                TickedExtraction figures;
                const std::clock_t cpu = std::clock();
                const double seconds = timed([&] {
                    TextModel text(loadTextFile(exportPath).text);
                    figures = extractInTicks(text, setting.bibliography, labels.get(), firstField);
                });
                figures.cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
                runs->push_back(figures);
                return seconds;
            }};
}

bool check(const char* what, double value, double limit)
{
    const bool ok = value <= limit;
    std::printf("  => %-44s %8.3f (target <= %.3f)  %s\n", what, value, limit, ok ? "PASS" : "FAIL");
    return ok;
}

// The ready-made label set of that name.
LabelSet readyLabelSet(const QString& programFolder, const QString& name)
{
    NoPrompts noPrompts;
    const auto labels = LabelSetStore(noPrompts, programFolder + QStringLiteral("/VarEdoAbb")).load(name);
    if (!labels)
        throw std::runtime_error("no label set " + name.toStdString());
    return *labels;
}

// The ready-made RIS set expects another order of tags (TY, AU, PY, TI) and would cut none of
// the generated records: this one follows the order most of them have (TY, TI, AU, PY, JO,
// VL, IS, SP, EP, AB, KW, LA, N1), so both sides store records.
LabelSet risLabelSet()
{
    LabelSet set;
    set.name = QStringLiteral("RIS in the export's order");
    const auto tag = [](const char* name) { return QLatin1String(name) + QStringLiteral("  - "); };
    const auto after = [&](const char* name) { return QLatin1Char('\n') + tag(name); };
    set.startLabels = {tag("TI"), tag("AU"), {}, tag("JO"), tag("PY"), tag("KW"), tag("TY"), tag("LA"), tag("AB")};
    set.endLabels = {after("AU"), after("PY"), {}, after("VL"), after("JO"), after("LA"), QStringLiteral("\n"),
        after("N1"), after("KW")};
    return set;
}

Figure againstLabelSet(const QString& programFolder, const QString& dataFolder, const QString& format,
    const QString& exportPath, const LabelSet& labels, int firstField, int titled)
{
    const QString labelSet = labels.name;
    const Setting setting{programFolder + QStringLiteral("/VarEdoRecors"), dataFolder + QStringLiteral("/tagged.pyr")};
    auto byMap = std::make_shared<std::vector<TickedExtraction>>();
    auto byLabels = std::make_shared<std::vector<TickedExtraction>>();
    Figure figure;
    figure.title = QStringLiteral("Extract a %1-record %2 export of %3 MB, storing included: by its ready-made tag "
                                  "map, and by the label set \"%4\" (turn about)")
                       .arg(ExportRecords)
                       .arg(format)
                       .arg(QFileInfo(exportPath).size() / 1e6, 0, 'f', 1)
                       .arg(labelSet);
    figure.ours
        = extractionSide(QStringLiteral("tag map: read, detect, store"), setting, exportPath, nullptr, 0, byMap);
    figure.references.push_back({extractionSide(QStringLiteral("label set: read, cut, store"), setting, exportPath,
                                     std::make_shared<const LabelSet>(labels), firstField, byLabels),
        1.5});
    figure.agree = [byMap, byLabels, titled] {
        const auto longest = [](const std::vector<TickedExtraction>& runs) {
            double most = 0;
            for (const TickedExtraction& run : runs)
                most = std::max(most, run.longestTickMs);
            return most;
        };
        const bool stored = std::all_of(
            byMap->begin(), byMap->end(), [&](const TickedExtraction& run) { return run.stored == titled; });
        // The disk's share of the time swings with the machine's load; the processor's does not.
        const auto cpu = [](const std::vector<TickedExtraction>& runs) {
            std::vector<double> seconds;
            for (const TickedExtraction& run : runs)
                seconds.push_back(run.cpuSeconds);
            std::sort(seconds.begin(), seconds.end());
            return seconds[seconds.size() / 2];
        };
        std::printf("  tag map stored %d records (every titled one: %s), label set %d; longest tick of the label "
                    "set's runs %.1f ms\n  processor time, medians: tag map %.3f s, label set %.3f s (ratio %.2f)\n",
            byMap->back().stored, stored ? "yes" : "NO", byLabels->back().stored, longest(*byLabels), cpu(*byMap),
            cpu(*byLabels), cpu(*byMap) / cpu(*byLabels));
        return check("longest tick of the tag map's runs (ms)", longest(*byMap), 50.0) && stored;
    };
    return figure;
}

Figure largeIntoView(const QString& programFolder, const QString& dataFolder, const QString& exportPath, int titled)
{
    const double bytes = QFileInfo(exportPath).size();
    auto peaks = std::make_shared<std::vector<double>>(); // peak resident / file size
    auto stored = std::make_shared<std::vector<int>>();
    Figure figure;
    figure.title = QStringLiteral("Open a %1-record RIS export of %2 MB into the text view and store it by its tag "
                                  "map (fresh process each run)")
                       .arg(LargeRecords)
                       .arg(bytes / 1e6, 0, 'f', 1);
    figure.maxMedian = 15.0;
    figure.ours
        = {QStringLiteral("view load, detect, store"), [=] {
               const QString bibliography = dataFolder + QStringLiteral("/tagged-large.pyr");
               freshBibliography(programFolder + QStringLiteral("/VarEdoRecors"), bibliography);
               QProcess probe;
               QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
               environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
               probe.setProcessEnvironment(environment);
               probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/papyrant-view-probe"),
                   {QStringLiteral("--extract"), exportPath, bibliography});
               if (!probe.waitForFinished(-1) || probe.exitCode() != 0)
                   throw std::runtime_error("the view probe failed: " + probe.readAllStandardError().toStdString());
               // seconds, peak resident kB, records stored, longest tick ms
               const QStringList out = QString::fromUtf8(probe.readAllStandardOutput()).split(u' ');
               peaks->push_back(out.value(1).toDouble() * 1024 / bytes);
               stored->push_back(out.value(2).toInt());
               std::printf("  run %zu: %.2f s, peak resident %.0f MB, longest tick %.1f ms\n", peaks->size(),
                   out.value(0).toDouble(), out.value(1).toDouble() / 1024, out.value(3).toDouble());
               return out.value(0).toDouble();
           }};
    figure.agree = [peaks, stored, titled] {
        const bool all = std::all_of(stored->begin(), stored->end(), [&](int count) { return count == titled; });
        std::printf("  every titled record stored: %s\n", all ? "yes" : "NO");
        return check("peak resident / file size, worst run", *std::max_element(peaks->begin(), peaks->end()), 3.0)
            && all;
    };
    return figure;
}

} // namespace

std::vector<Figure> taggedExtractionFigures(const QString& programFolder, const QString& dataFolder)
{
    const TaggedExports files = taggedExports(dataFolder);
    return {
        againstLabelSet(programFolder, dataFolder, QStringLiteral("MEDLINE"), files.medline,
            readyLabelSet(programFolder, QStringLiteral("MEDLINE (PubMed)")), 4 /* Publishing year */, ExportRecords),
        againstLabelSet(programFolder, dataFolder, QStringLiteral("RIS"), files.ris, risLabelSet(),
            6 /* Publication type */, ExportRecords - RisExportGenerator::recordsWithoutTitle(ExportRecords)),
        largeIntoView(programFolder, dataFolder, files.largeRis,
            LargeRecords - RisExportGenerator::recordsWithoutTitle(LargeRecords))};
}

} // namespace papyrant::bench
