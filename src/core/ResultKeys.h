#pragma once
// Work over every record of a result (delete all, a category for all, the copy) runs over
// the keys the search found. Another program may change the file in between: delete a
// found record and add one that takes over its key. The work then must not touch that
// newcomer, so before every batch it asks whether anything but this program's own work
// changed the file since the keys were read; once something did, each key's row is tested
// again against the search's condition and only rows that still meet it are touched. The
// rows passed over are counted and the user is told.

#include "core/Database.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace papyrant {

struct ResultKeys {
    std::vector<std::int64_t> keys; // in result order
    Database::ChangeStamp stamp; // the file as the keys know it, on the result's connection
    QString condition; // the search's Where condition; empty when it has none
};

// Watches the file behind a result's keys from the result's own connection.
class KeyWatch {
public:
    KeyWatch(Database& db, const Database::ChangeStamp& known)
        : m_db(db)
        , m_known(known)
    {
    }
    // True from the first call that finds the file changed since the keys were read. Called
    // inside a batch's transaction, it also holds the file against other writers until the
    // batch commits, so the answer stays true for the whole batch. Throws StoreError.
    bool stale();
    // The batch's own writes on the connection: keys that were right stay right.
    void followOwnWrites();
    // The file as the keys know it, followed through this work's own writes.
    const Database::ChangeStamp& known() const { return m_known; }

private:
    Database& m_db;
    Database::ChangeStamp m_known;
    bool m_stale = false;
};

// The test that picks one key's row: "rowid = ?" and, once the keys are stale, the search's
// condition as well, so a row that no longer meets it is passed over.
QString keyTest(const QString& condition, bool stale);

// "The bibliography was changed by another program since the search: 2 records no longer
// matched it and were left alone."
QString skippedRecordsText(std::int64_t skipped);

} // namespace papyrant
