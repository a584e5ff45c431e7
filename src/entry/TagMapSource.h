#pragma once
// The records of a tagged export read by a tag map, for an extraction run: each record the
// cursor reads becomes the fields its map gives. A record without a title is not stored;
// its text, from its first tag line to its last line, goes to manual adding.

#include "entry/RecordSource.h"
#include "formats/TagMap.h"
#include "formats/TaggedRecordCursor.h"

namespace papyrant {

class TagMapSource : public RecordSource {
public:
    // The text must stay as it is while the source is read (the screen is locked during a
    // run). `format` is the layout the text was found to be; the map may have been made for
    // another one.
    TagMapSource(QStringView text, TaggedFormat format, TagMap map);

    Next next(std::array<QString, ColumnCount>& row, QString& failedTexts) override;
    qsizetype position() const override { return m_cursor.position(); }

private:
    QStringView m_text;
    TaggedRecordCursor m_cursor;
    TagMap m_map;
    TaggedRecord m_record; // reused from record to record, with its buffers
};

} // namespace papyrant
