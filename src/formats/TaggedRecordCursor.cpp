#include "formats/TaggedRecordCursor.h"

namespace papyrant {

TaggedRecordCursor::TaggedRecordCursor(QStringView text, TaggedFormat format)
    : m_text(text)
    , m_grammar(taggedGrammar(format))
{
    // A byte-order mark decoded as a character is no part of the first line.
    if (!m_text.isEmpty() && m_text.front() == QChar(0xFEFF))
        m_position = 1;
}

void TaggedRecordCursor::add(TaggedRecord& record, QStringView tag, QStringView value, qsizetype used) const
{
    // The record's values are reused from one record to the next, so their buffers are too.
    if (qsizetype(record.fields.size()) <= used)
        record.fields.emplace_back();
    TagValue& field = record.fields[used];
    field.tag.resize(0);
    field.tag.append(tag);
    if (m_grammar->capitalTags())
        field.tag = std::move(field.tag).toUpper();
    field.value.resize(0);
    field.value.append(value);
}

bool TaggedRecordCursor::next(TaggedRecord& record)
{
    if (!m_grammar)
        return false;
    qsizetype used = 0; // values of this record so far
    bool open = false;
    const auto close = [&](qsizetype end) {
        record.end = end;
        record.fields.resize(used);
        return true;
    };
    while (m_position < m_text.size()) {
        qsizetype next = 0;
        const qsizetype start = m_position;
        const QStringView line = grammar::lineAt(m_text, start, &next);
        const QStringView lastTag = used > 0 ? QStringView(record.fields[used - 1].tag) : QStringView();
        const LineMeaning meaning = m_grammar->read(line, open, lastTag);
        switch (meaning.kind) {
        case LineMeaning::Ignored: break;
        case LineMeaning::Starts:
            if (open)
                return close(start); // this line begins the next record: read it again then
            open = true;
            record.start = start;
            add(record, meaning.tag, meaning.value, used++);
            break;
        case LineMeaning::Field: add(record, meaning.tag, meaning.value, used++); break;
        case LineMeaning::FurtherValue: add(record, meaning.tag, meaning.value, used++); break;
        case LineMeaning::Continues:
            if (!meaning.value.isEmpty()) {
                QString& value = record.fields[used - 1].value;
                if (!value.isEmpty())
                    value += QLatin1Char(' ');
                value += meaning.value;
            }
            break;
        case LineMeaning::EndsWith: m_position = next; return close(next);
        case LineMeaning::EndsBefore:
            m_position = next;
            if (open)
                return close(start);
            break;
        }
        m_position = next;
    }
    return open && close(m_text.size());
}

} // namespace papyrant
