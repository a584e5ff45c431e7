#pragma once
// Deleting many records with secure delete set to FAST.
//
// Some SQLite builds (Debian's among them) zero every page a deleted record frees, and the
// page's old content must go to the journal first: for records of a few kilobytes that
// costs several times the deletion itself. FAST still clears what lies on the pages that
// are written anyway. Work that deletes many records (deleting all results, auto remove)
// holds one of these on its connection for its length; the setting before is put back.

#include "core/Database.h"

namespace papyrant {

class FastDeletion {
public:
    explicit FastDeletion(Database& db);
    ~FastDeletion();
    FastDeletion(const FastDeletion&) = delete;
    FastDeletion& operator=(const FastDeletion&) = delete;

private:
    Database& m_db;
    int m_previous = -1; // the connection's setting before; -1 when it could not be changed
};

} // namespace papyrant
