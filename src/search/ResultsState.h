#pragma once
// The state of the results screen between user actions, kept as plain data so the tabs,
// the editing logic and the later output and management work share one picture of it.

#include "search/Presentation.h"
#include "search/SearchSnapshot.h"

#include <vector>

namespace papyrant {

struct ResultsState {
    int ResultCount = 0; // records found by the last search, lowered by removals
    int CurrentRecordNo = 0; // 1-based number of the record on the edit tab
    int EditTarget = 0; // record under the caret in the results text, 0 when none
    int PresentedRecordNo = 0; // number of the last record on the page shown
    int HeaderLength = 0; // characters of the header of the page shown
    std::vector<int> RecordEnds{0}; // of the page shown; see PresentedPage::recordEnds
    int ShownPage = 0; // page last chosen; -1 makes the next choice render
    bool ResultsChanged = false; // records were removed: the page is built afresh when shown
    bool CategoriesChanged = false; // a category was added: the options re-read theirs
    SearchSnapshot search; // what the last search took: every page of its result reads it

    // Takes over the offsets of a page just shown.
    void pageShown(const PresentedPage& page)
    {
        HeaderLength = page.headerLength;
        RecordEnds = page.recordEnds;
        PresentedRecordNo = page.firstRecordNo + page.blockCount();
    }
};

} // namespace papyrant
