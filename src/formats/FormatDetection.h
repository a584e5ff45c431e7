#pragma once
// Which tagged layout a text is, and how many records it holds, found in one pass over its
// lines: every grammar reads each line, and the counts decide.

#include "formats/TaggedGrammar.h"

#include <QString>
#include <QStringView>

namespace papyrant {

struct FormatDetection {
    TaggedFormat format = TaggedFormat::None;
    int records = 0; // the records a TaggedRecordCursor of that format reads
};

// MEDLINE or RIS when the text holds records of either (the one with more records), else
// Web of Science when it has an ER line or its FN header, else a plain layout; Web of Science
// and the plain layouts count only when most lines that are not indented are tag lines, of
// at least two tags and two a record on average (prose is None).
FormatDetection detectTaggedFormat(QStringView text);

// What the auto-extract screen says of an opened file: "RIS export: 8 records",
// "Tagged text (Label: value): 12 records", or "No tags of a known layout".
QString detectionSummary(const FormatDetection& detection);

} // namespace papyrant
