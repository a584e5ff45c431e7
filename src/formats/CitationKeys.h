#pragma once
// Citation keys: the first author's family name, the year and the first significant title
// word, in ASCII letters and digits ("muller2006therapy"), unique within one file by the
// suffixes a, b, c... Only the keys given out are kept, never the records.

#include "formats/CitationRecord.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace papyrant {

// The text in ASCII letters and digits only: accented letters lose their marks ("ü" to
// "u", "Ł" to "L"), letters with an ASCII spelling take it ("ß" to "ss", "æ" to "ae"),
// everything else (blanks, punctuation, scripts without an ASCII form) is dropped.
QString asciiLetters(QStringView text);

// The key a record would get in a file of its own; "anon" stands in for a missing author.
QString baseCitationKey(const CitationRecord& record);

class CitationKeys {
public:
    // The record's key, distinct from every key given out before: the second record with
    // the same base key gets "a" appended, the third "b", ..., then "aa", "ab"...
    QString next(const CitationRecord& record);

private:
    QSet<QString> m_used;
    QHash<QString, int> m_suffixes; // next suffix number of bases met more than once
};

} // namespace papyrant
