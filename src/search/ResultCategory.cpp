#include "search/ResultCategory.h"

#include "core/DataBinding.h"

#include <SQLiteCpp/Statement.h>

#include <algorithm>

namespace papyrant {

int putResultsIntoCategory(DataBinding& results, const QString& category)
{
    RecordSet& records = results.recordset();
    // In file order: a result sorted by title then touches each page once.
    std::vector<std::int64_t> keys = records.rowKeys();
    std::sort(keys.begin(), keys.end());
    Database& db = results.database();
    const int changed = storeCall([&] {
        int assigned = 0;
        Database::Transaction batch(db);
        // Bound, not spliced into the text: a category such as Crohn's stays one value.
        SQLite::Statement assign(db.handle(), "UPDATE Abstracts SET Category = ? WHERE rowid = ?");
        const std::string name = category.toStdString();
        assign.bindNoCopy(1, name);
        for (const std::int64_t key : keys) {
            assign.tryReset();
            assign.bind(2, static_cast<int64_t>(key));
            assigned += assign.exec();
        }
        batch.commit();
        return assigned;
    });
    records.rereadValues();
    return changed;
}

} // namespace papyrant
