#pragma once
// Tagged exports read by their tags. A grammar says what one line of an export means: a tag
// line that begins a record, a further tag, text continuing the last value, the record's
// end. TaggedRecordCursor walks the lines with it and FormatDetection counts with it, so
// the records counted are exactly the records read.
//
// One grammar per layout: MEDLINE (PubMed), RIS, Web of Science tagged, and three plain
// layouts of services no ready-made map knows: Refer ("%A value"), "TAG - value" and
// "Label: value", whose records are separated by blank lines.

#include <QString>
#include <QStringView>

#include <vector>

namespace papyrant {

enum class TaggedFormat { None, Medline, Ris, WebOfScience, Refer, DashTags, ColonTags };

// The format's name as the screens show it and saved tag maps store it ("MEDLINE", "RIS",
// "Web of Science", "Refer", "TAG - value", "Label: value"; "" for None).
QString taggedFormatName(TaggedFormat format);
// The format of a name taggedFormatName gives; None for any other text.
TaggedFormat taggedFormatNamed(const QString& name);
// The formats with a grammar, in the order detection prefers them.
const std::vector<TaggedFormat>& taggedFormats();

struct TagValue {
    QString tag; // the formats' tags in capitals (RIS may write them small); labels as written
    QString value; // without the tag; continuation lines joined with one blank
};

struct TaggedRecord {
    qsizetype start = 0; // the record's text in the file runs from the start of its first line
    qsizetype end = 0; // to after the line break of its last line
    std::vector<TagValue> fields; // in file order
};

// What one line means to a grammar.
struct LineMeaning {
    enum Kind {
        Ignored, // outside any record, a header line, a blank line inside a RIS record
        Starts, // a tag line that begins a record (an open record ends before it)
        Field, // a tag line inside a record
        Continues, // text continuing the last value
        FurtherValue, // a further value of the last tag (Web of Science's author and address lists)
        EndsWith, // the record's last line (ER)
        EndsBefore // the record ended before this line, which belongs to none (a blank line)
    } kind
        = Ignored;
    QStringView tag;
    QStringView value; // trimmed
};

class TaggedGrammar {
public:
    virtual ~TaggedGrammar() = default;
    virtual TaggedFormat format() const = 0;
    // The meaning of a line (without its line break, nor a CR before it). `inRecord` says
    // whether a record is open, `lastTag` is the tag of its last value.
    virtual LineMeaning read(QStringView line, bool inRecord, QStringView lastTag) const = 0;
    // Whether tags are kept in capitals whatever the file writes.
    virtual bool capitalTags() const { return true; }
};

// The grammar of a format; nullptr for None.
const TaggedGrammar* taggedGrammar(TaggedFormat format);

// Helpers the grammars share.
namespace grammar {

inline bool isCapital(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}
inline bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
inline bool isLetter(QChar c)
{
    return isCapital(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
// The line starting at `start`, without its line break and a CR before it; `next` gets the
// start of the following line.
QStringView lineAt(QStringView text, qsizetype start, qsizetype* next);
// True when the line holds nothing but blanks and tabs.
bool isBlank(QStringView line);
// True when the line starts with at least `count` blanks.
bool startsWithBlanks(QStringView line, qsizetype count);
// The text after `from`, without blanks and tabs at either end.
QStringView valueFrom(QStringView line, qsizetype from);
// What a line means inside an open record when it is not a tag line of the grammar:
// a blank line ends the record (when blank lines separate records) or is skipped, any
// other line continues the last value.
LineMeaning untaggedLine(QStringView line, bool inRecord, bool blankEndsRecord);

} // namespace grammar

const TaggedGrammar& medlineGrammar();
const TaggedGrammar& risGrammar();
const TaggedGrammar& webOfScienceGrammar();
const TaggedGrammar& plainTagGrammar(TaggedFormat format); // Refer, DashTags or ColonTags

} // namespace papyrant
