#pragma once
// Running a composed statement as the record source of the results binding.
//
// The engine still refuses some statements that compose without complaint: brackets typed
// into the words so that the parentheses do not pair up, or words with no searched column
// (the row term is then "()"). Such a refusal must not cost the user the results on screen,
// so the binding keeps its previous source and record set and the caller gets the engine's
// own description to show.

#include <QString>

namespace papyrant {

class DataBinding;

struct SearchOutcome {
    bool accepted = false; // the statement ran and is now the binding's record source
    int recordCount = 0; // records found, when accepted
    QString engineError; // the engine's description, when refused
};

// Makes the statement the binding's record source and runs it. Never throws a store error:
// a refusal comes back in the outcome, with the binding as it was before.
SearchOutcome runSearchStatement(DataBinding& binding, const QString& statement);

// The message the results screen shows for a refused statement: a fixed sentence, a line
// feed and the engine's description.
QString refusedSearchMessage(const QString& engineError);

} // namespace papyrant
