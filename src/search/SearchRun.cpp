#include "search/SearchRun.h"

#include "core/DataBinding.h"

namespace papyrant {

SearchOutcome runSearchStatement(DataBinding& binding, const QString& statement)
{
    const QString previousSource = binding.recordSource();
    binding.setRecordSource(statement);
    SearchOutcome outcome;
    try {
        outcome.recordCount = binding.refresh().recordCount();
        outcome.accepted = true;
    } catch (const std::exception& error) {
        // The record set of the previous search is still open in the binding; its source
        // goes back too, so a later refresh re-runs what the user is looking at.
        binding.setRecordSource(previousSource);
        outcome.engineError = errorText(error);
    }
    return outcome;
}

QString refusedSearchMessage(const QString& engineError)
{
    return QStringLiteral("The search could not be run.\n") + engineError;
}

} // namespace papyrant
