#pragma once
// The interactive half of the repeated-record tab: find the next candidate pair, look at
// either record with a mark on every field in which the two agree, correct the record on
// view or remove it. Every pair is shown, whatever the auto-remove options say.
//
// This class is the tab's whole state: what the twelve boxes hold, which marks show,
// which record of the pair is on view and which buttons are live. The screen mirrors it
// after each call. Store failures are reported through the prompts and never thrown.

#include "core/DataBinding.h"
#include "core/Prompts.h"
#include "maintenance/RepeatedRecords.h"
#include "maintenance/ScanRecords.h"

#include <memory>

namespace papyrant {

class RepeatedPairReview {
public:
    enum class Shown { First, Second };

    // The bibliography is opened on the first search, so a file that went missing is
    // reported like any other store failure.
    RepeatedPairReview(DataBinding& data, Prompts& prompts);

    // "Find next repeated records": goes on after the pair shown last (with its second
    // record, or the record that followed it when that one was removed) and shows the
    // next pair, or says "There are no more similar records" and starts over next time.
    void findNext();
    // The option buttons: put the first or second record of the pair on view.
    void showFirst();
    void showSecond();
    // "Update current record": stores the typed texts (an empty box stores the
    // empty-field marker; the sort key follows the title) and recomputes the marks.
    // The boxes keep what was typed.
    void updateCurrent(const FieldValues& typed);
    // "Remove current record": deletes the record on view and puts the other one of the
    // pair on view. Only while both are there: the last copy is never removed by a second
    // click.
    void removeCurrent();

    // Auto remove empties the display when it starts ...
    void clearDisplay();
    // ... and makes the next search start from the first record when it ends.
    void restartScan();

    const FieldValues& boxes() const { return m_boxes; }
    const FieldFlags& marks() const { return m_marks; }
    Shown shown() const { return m_shown; }
    bool firstAvailable() const { return m_firstAvailable; }
    bool secondAvailable() const { return m_secondAvailable; }
    bool actionsEnabled() const { return m_actionsEnabled; }
    // Removing is offered while both records of the pair are there, until the next pair.
    bool removeEnabled() const { return m_actionsEnabled && m_firstAvailable && m_secondAvailable; }
    bool scanStarted() const { return m_scanStarted; }

private:
    RecordSet& records() { return m_scan->records(); }
    bool titlesEqual(); // the record before the current one and the current one
    void showCurrentRecord();
    void showRepeatedPair();
    void computeMarksFromFirst();
    void select(Shown shown);
    void endOfRecords();
    void abandonScan(const std::exception& error);
    void reportFailure(const QString& sentence, const std::exception& error);

    DataBinding& m_data;
    Prompts& m_prompts;
    std::unique_ptr<ScanRecords> m_scan;
    bool m_scanStarted = false;

    FieldValues m_boxes;
    FieldFlags m_marks{};
    Shown m_shown = Shown::First;
    bool m_firstAvailable = false;
    bool m_secondAvailable = false;
    bool m_actionsEnabled = false;
};

} // namespace papyrant
