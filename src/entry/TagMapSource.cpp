#include "entry/TagMapSource.h"

namespace papyrant {

TagMapSource::TagMapSource(QStringView text, TaggedFormat format, TagMap map)
    : m_text(text)
    , m_cursor(text, format)
    , m_map(std::move(map))
{
}

RecordSource::Next TagMapSource::next(std::array<QString, ColumnCount>& row, QString& failedTexts)
{
    if (!m_cursor.next(m_record))
        return Next::NoneLeft;
    mapTaggedRecord(m_map, m_record, row);
    if (!isEmptyField(row[Title]))
        return Next::Record;
    failedTexts += m_text.sliced(m_record.start, m_record.end - m_record.start);
    return Next::Failed;
}

} // namespace papyrant
