#pragma once
// A stored record as the citation writers see it: the thirteen column values read once
// into names, lists, source parts and a publication kind, so each writer only spells it.

#include "core/RecordModel.h"
#include "formats/FieldSplitting.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace papyrant {

// One record as stored: the thirteen column values in column order (Title ... TitelS).
using RecordValues = std::array<QString, ColumnCount>;

// What a record is, as far as citation formats tell kinds apart.
enum class PublicationKind { JournalArticle, Book, Chapter, Conference, Thesis, Report, Other };

// The kind of the first of the record's types that names one ("Journal Article", "Book",
// "Book Section", "Chapter", "Conference Paper", "Proceedings", "Thesis", "Report", their
// RIS codes, and Web of Science's J and B), compared without regard to letter case;
// Other when none does.
PublicationKind publicationKind(const QStringList& types);

struct CitationRecord {
    QString title; // one line
    std::vector<PersonName> authors;
    QString address;
    SourceParts source;
    QString year;
    QStringList keywords;
    PublicationKind kind = PublicationKind::Other;
    QString language;
    QString abstract;
    QString note; // the personal comment
};

// Reads the record. Entry date, category and the sort key are no part of a citation.
CitationRecord citationRecord(const RecordValues& values);

} // namespace papyrant
