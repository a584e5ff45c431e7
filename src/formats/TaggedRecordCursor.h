#pragma once
// Reads a tagged export one record at a time, so a run can store a record per step without
// reading the file again: each record comes with its (tag, value) pairs in file order and
// its place in the text, which a record that cannot be stored hands to manual adding.
//
// The cursor looks at the text, it does not copy it: the text must stay as it is while the
// cursor is used (the entry screens are disabled during a run).

#include "formats/TaggedGrammar.h"

#include <QStringView>

namespace papyrant {

class TaggedRecordCursor {
public:
    TaggedRecordCursor(QStringView text, TaggedFormat format);

    // Reads the next record into `record` (its earlier content is replaced); false when no
    // record is left. Text outside records (headers, separators, trailers) is passed over;
    // a last record without its end line is still read.
    bool next(TaggedRecord& record);

    // How far the reading has come, in characters of the text (for a progress bar).
    qsizetype position() const { return m_position; }
    qsizetype length() const { return m_text.size(); }
    TaggedFormat format() const { return m_grammar ? m_grammar->format() : TaggedFormat::None; }

private:
    void add(TaggedRecord& record, QStringView tag, QStringView value, qsizetype used) const;

    QStringView m_text;
    const TaggedGrammar* m_grammar;
    qsizetype m_position = 0;
};

} // namespace papyrant
