#pragma once
// What independent readers of Debian's make of a tagged export: bibutils' ris2xml and
// isi2xml (MODS XML) for RIS and Web of Science, Biopython's Bio.Medline for MEDLINE.
// Stored or mapped records are compared with them, not with our own reading.

#include "formats/TaggedGrammar.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace papyrant::test {

// A record as a reader gives it: authors as it names them (family names from bibutils,
// whole names from Biopython).
struct Citation {
    QString title;
    QStringList authors;
    QString year;
    QString journal;
    QStringList wholeNames = {}; // bibutils: every part of each author's name, for groups it cut up as persons
};

// The records of bibutils' MODS XML, every one in file order.
std::vector<Citation> readMods(const QByteArray& xml);

// The records of the export at `path` that have a title, in file order.
std::vector<Citation> independentCitations(const QString& path, TaggedFormat format);

// Compares records as stored (title, authors joined by "; ", year, source) with a reader's:
// titles and years equal, authors in count and order, and the source beginning with the
// journal. Fails the running test at the first difference.
void compareWithReader(const std::vector<QStringList>& stored, const std::vector<Citation>& theirs);

} // namespace papyrant::test
