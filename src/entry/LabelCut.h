#pragma once
// Cutting the text of the view into records by a label set.
//
// A record runs from one occurrence of the first field's start label (included) to the next
// (excluded); text before the first occurrence is never used. Field i's value lies between
// its start and end labels, both searched from the record's start and only inside the
// record. A record in which a field ends at or before its own start fails as a whole: it
// is not stored, and its text is kept for manual adding. Positions come from the view's
// selection, which a label not found leaves as it was; several quirks users rely on follow
// from that (a missing start label cuts from the previous field's end).

#include "entry/LabelSets.h"
#include "entry/RecordSource.h"
#include "entry/TextModel.h"

namespace papyrant {

// Where the cut stands, reset for every run.
struct LabelCutState {
    qsizetype RecordStart = 0; // start of the current record
    qsizetype RecordEnd = 0; // end of the current record (exclusive)
    qsizetype FieldStart = 0; // first character of the current field value
    qsizetype FieldEnd = 0; // position right after the current field value
    int EndPhase = 0; // 0: records follow; 1: the current record is the last; 2: none left
    bool RecordFailed = false; // the current record failed to cut
    QString FirstLabel; // start label of the first field
};

class LabelCut : public RecordSource {
public:
    // The text is the view's model: its selection moves as the cut goes.
    LabelCut(TextModel& text, const Labels& startLabels, const Labels& endLabels, int firstField);

    Next next(std::array<QString, ColumnCount>& row, QString& failedTexts) override;
    qsizetype position() const override { return m_text.selStart(); }

    const LabelCutState& state() const { return m_state; }

private:
    bool cutField(int field, std::array<QString, ColumnCount>& row);

    TextModel& m_text;
    Labels m_startLabels;
    Labels m_endLabels;
    LabelCutState m_state;
};

} // namespace papyrant
