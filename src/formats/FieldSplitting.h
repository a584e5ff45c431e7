#pragma once
// How the citation writers read a stored record: author lists into names, key word and
// type lists into items, the source line into journal, volume, issue and pages, the year
// into its four digits. Shared by the RIS, BibTeX and CSL-JSON writers, so the three
// files always agree on what a record says.

#include <QString>
#include <QStringList>

#include <vector>

namespace papyrant {

// A stored value as text to write: empty for the empty-field marker, trimmed otherwise.
QString storedText(const QString& value);

// Runs of blanks, tabs and line breaks become one blank: for formats whose values are
// single lines or where a line break means nothing.
QString oneLine(const QString& text);
// The same, appended to out without a copy of its own.
void appendOneLine(QString& out, QStringView text);
// True when the text is one line already: no line break, tab or other space but single
// blanks between words.
bool isOneLine(QStringView text);

// A person with family and given parts, or a group (or any name of no known shape) kept
// whole as a literal.
struct PersonName {
    QString family;
    QString given; // initials are written "J. A."; may be empty for a family name alone
    QString literal; // set for a group; family and given are empty then

    bool isLiteral() const { return !literal.isEmpty(); }
    bool operator==(const PersonName&) const = default;
};

// One name: "Family, Given" or "Family GI" (MEDLINE's initials), else a literal. A name
// ending in a comma ("World Health Organization,") is a literal, as reference managers
// write groups.
PersonName parseName(const QString& name);

// The authors of a record, in order: the value split at "; " and at line breaks; a piece
// that is a comma list of "Family GI" names ("Smith JA, Müller K") gives each of them.
std::vector<PersonName> splitAuthors(const QString& value);

// Key words and publication types: split at "; " and at line breaks, trimmed, empty
// items dropped.
QStringList splitList(const QString& value);

// A source line cut into its parts where it has one of the shapes
//   "Journal. 2006 Mar 1;22(5):606-7"   "Journal 22(5): 606-607"   "Journal, vol 22, pp 606-607"
// else the whole line as the journal.
struct SourceParts {
    QString journal;
    QString volume;
    QString issue;
    QString firstPage;
    QString lastPage; // abbreviated ends are written out: "606-7" ends at 607

    bool operator==(const SourceParts&) const = default;
};
SourceParts splitSource(const QString& value);

// The first run of exactly four digits in the year field, or empty.
QString yearOf(const QString& value);

} // namespace papyrant
