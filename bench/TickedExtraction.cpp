#include "TickedExtraction.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "entry/ExtractionRun.h"
#include "formats/FormatDetection.h"
#include "formats/ReadyTagMaps.h"
#include "entry/TagMapSource.h"

#include <QElapsedTimer>

#include <algorithm>
#include <stdexcept>

namespace papyrant::bench {

TickedExtraction extractInTicks(TextModel& text, const QString& bibliography, const LabelSet* labels, int firstField)
{
    Database db(bibliography);
    RecordSet table(db, QStringLiteral("Abstracts"));
    ExtractionRun run(text, db, table);
    const QString category = QStringLiteral("Bench");
    if (labels) {
        if (run.start({labels->startLabels, labels->endLabels, firstField, category}))
            throw std::runtime_error("the label set has no labels for its first field");
    } else {
        const FormatDetection detection = detectTaggedFormat(text.text());
        const TagMap* map = readyTagMap(detection.format);
        if (!map)
            throw std::runtime_error("the export is of no layout with a ready-made tag map");
        run.start(std::make_unique<TagMapSource>(text.text(), detection.format, *map), category);
    }
    TickedExtraction figures;
    for (bool more = true; more;) {
        QElapsedTimer tick;
        tick.start();
        const StepOutcome outcome = run.step(TickBudget());
        figures.longestTickMs = std::max(figures.longestTickMs, tick.nsecsElapsed() / 1e6);
        ++figures.ticks;
        if (outcome.kind == StepOutcome::Kind::Failed)
            throw std::runtime_error("the run failed: " + outcome.reason.toStdString());
        more = outcome.ongoing();
    }
    run.finish();
    figures.stored = RecordSet(db, QStringLiteral("Select Abstracts.* From Abstracts")).recordCount();
    return figures;
}

} // namespace papyrant::bench
