#pragma once
// An extraction run as the auto-extract screen runs it, in ticks of about 15 ms with the
// commit interval of the program, by a label set or by the ready-made tag map of the layout
// the text is found to be (finding it is part of the work).

#include "entry/LabelSets.h"
#include "entry/TextModel.h"

#include <QString>

namespace papyrant::bench {

struct TickedExtraction {
    int stored = 0; // records in the bibliography afterwards
    int ticks = 0;
    double longestTickMs = 0;
    double cpuSeconds = 0; // processor time, where the caller measures it
};

// Extracts the text into the bibliography at `bibliography` (a fresh copy of the template):
// by `labels` with `firstField` when given, else by the ready-made tag map.
TickedExtraction extractInTicks(
    TextModel& text, const QString& bibliography, const LabelSet* labels = nullptr, int firstField = 0);

} // namespace papyrant::bench
