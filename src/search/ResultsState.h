#pragma once
// The state of the results screen between user actions, kept as plain data so the tabs,
// the editing logic and the later output and management work share one picture of it.

#include "search/Presentation.h"
#include "search/SearchItems.h"

#include <array>

namespace papyrant {

struct ResultsState {
    int ResultCount = 0; // records found by the last search, lowered by removals
    int CurrentRecordNo = 0; // 1-based number of the record on the edit tab
    int EditTarget = 0; // record under the caret in the results text, 0 when none
    int PresentedRecordNo = 0; // number of the last record on the page shown
    int HeaderLength = 0; // characters of the header of the page shown
    std::array<int, PageSize + 1> RecordEnds{}; // see PresentedPage::recordEnds
    int ShownBlocks = 0; // record blocks on the page shown
    int ShownPage = 0; // page last chosen; -1 makes the next choice render
    bool SavingAll = false; // "Save all" is writing the pages one by one
    bool ResultsChanged = false; // records were removed: the page is built afresh when shown
    bool CategoriesChanged = false; // a category was added: the options re-read theirs
    HighlightWords highlightWords; // of the last search, marked on every page

    // Takes over the offsets of a page just shown; entries past its last block keep
    // their values, nobody reads them.
    void pageShown(const PresentedPage& page)
    {
        HeaderLength = page.headerLength;
        ShownBlocks = page.blockCount();
        for (int k = 0; k <= ShownBlocks; ++k)
            RecordEnds[k] = page.recordEnds[k];
        PresentedRecordNo = page.firstRecordNo + ShownBlocks;
    }
    std::vector<int> shownRecordEnds() const { return {RecordEnds.begin(), RecordEnds.begin() + ShownBlocks + 1}; }
};

} // namespace papyrant
