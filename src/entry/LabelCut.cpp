#include "entry/LabelCut.h"

#include "entry/ExtractionRun.h"

namespace papyrant {

LabelCut::LabelCut(TextModel& text, const Labels& startLabels, const Labels& endLabels, int firstField)
    : m_text(text)
    , m_startLabels(startLabels)
    , m_endLabels(endLabels)
{
    m_state.FirstLabel = startLabels[firstField];
}

RecordSource::Next LabelCut::next(std::array<QString, ColumnCount>& row, QString& failedTexts)
{
    LabelCutState& s = m_state;
    m_text.find(s.FirstLabel, s.RecordStart);
    s.RecordStart = m_text.selStart();
    // The next record's label must begin at least one character after this one's.
    m_text.find(s.FirstLabel, m_text.selStart() + m_text.selLength() + 1);
    s.RecordEnd = m_text.selStart();
    if (s.RecordStart == s.RecordEnd)
        ++s.EndPhase;
    if (s.EndPhase == 2)
        return Next::NoneLeft;
    if (s.EndPhase == 1)
        s.RecordEnd = m_text.length();

    for (int i = 0; i < LabelFieldCount && !s.RecordFailed; ++i)
        s.RecordFailed = !cutField(i, row);
    const bool failed = s.RecordFailed;
    if (failed) {
        s.RecordFailed = false;
        m_text.select(s.RecordStart, s.RecordEnd - s.RecordStart);
        failedTexts += m_text.selectedText();
    }
    s.RecordStart = s.RecordEnd;
    return failed ? Next::Failed : Next::Record;
}

bool LabelCut::cutField(int field, std::array<QString, ColumnCount>& row)
{
    LabelCutState& s = m_state;
    const QString& startLabel = m_startLabels[field];
    const QString& endLabel = m_endLabels[field];
    if (startLabel.isEmpty() || endLabel.isEmpty()) {
        row[field] = EmptyFieldMarker;
    } else {
        // Both labels are searched from the record's start; a label not found leaves the
        // selection of the previous search in force.
        m_text.find(startLabel, s.RecordStart, s.RecordEnd);
        s.FieldStart = m_text.selStart() + m_text.selLength();
        m_text.find(endLabel, s.RecordStart, s.RecordEnd);
        s.FieldEnd = m_text.selStart();
        m_text.setSelStart(s.FieldStart);
        if (s.FieldEnd <= s.FieldStart)
            return false;
        m_text.setSelLength(s.FieldEnd - s.FieldStart);
        row[field] = extractedValue(m_text.selectedText(), field);
    }
    if (field == Title)
        row[TitelS] = holdText(row[Title], extractionHolderLimit(TitelS));
    return true;
}

} // namespace papyrant
