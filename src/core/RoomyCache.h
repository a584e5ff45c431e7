#pragma once
// Room in the connection's page cache for half a second of changes.
//
// SQLite's page cache holds 2 MB by default; work that rewrites thousands of records fills
// it within a tick, and every page it must then spill before the commit first writes and
// syncs the journal, in the middle of a tick, several times a second. With room for a
// batch's changes the pages go to the disk at the commit alone. Work over many records
// holds one of these on its connection for its length; the setting before is put back.

#include "core/Database.h"

#include <string>

namespace papyrant {

class RoomyCache {
public:
    explicit RoomyCache(Database& db)
        : m_db(db)
    {
        try {
            m_previous = db.handle().execAndGet("PRAGMA cache_size").getInt64();
            db.handle().exec("PRAGMA cache_size = -131072"); // 128 MB, taken only as used
            m_changed = true;
        } catch (const std::exception&) {
        }
    }
    ~RoomyCache()
    {
        if (!m_changed)
            return;
        try {
            m_db.handle().exec("PRAGMA cache_size = " + std::to_string(m_previous));
        } catch (const std::exception&) {
        }
    }
    RoomyCache(const RoomyCache&) = delete;
    RoomyCache& operator=(const RoomyCache&) = delete;

private:
    Database& m_db;
    long long m_previous = 0;
    bool m_changed = false;
};

} // namespace papyrant
