#pragma once
// Putting every record of the current results into one category.

#include <QString>

namespace papyrant {

class DataBinding;

// Sets the category of every record of the binding's record set in one transaction: one
// prepared statement run per key instead of editing and storing record by record. The
// record that was current stays current and reads the new category. Gives the number of
// records changed. Throws StoreError; then no record has changed.
int putResultsIntoCategory(DataBinding& results, const QString& category);

} // namespace papyrant
