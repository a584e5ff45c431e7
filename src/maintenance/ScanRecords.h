#pragma once
// The scan's records in title-sort order, with a fingerprint of every record's normalised
// title read in the same sorted pass that gives the keys. Two neighbours whose
// fingerprints differ cannot be a candidate pair, so the scan passes them without
// reading a single record; only neighbours whose fingerprints agree are read, and
// their titles themselves decide.

#include "core/Database.h"
#include "core/RecordSet.h"

#include <cstddef>
#include <vector>

namespace papyrant {

class ScanRecords {
public:
    // Opens the scan on the bibliography and stands on its first record. Throws StoreError.
    explicit ScanRecords(Database& db);

    RecordSet& records() { return m_records; }

    // One scan step: moves from the current record to the next one. True when the two
    // may be a candidate pair (their titles' fingerprints agree); false when they cannot
    // be and at the end.
    bool moveNextMayPair();

    // The current record's title was stored anew.
    void titleChanged(const QString& title);

private:
    std::size_t currentFingerprint() const;

    std::vector<std::size_t> m_fingerprints; // by slot of the record set
    RecordSet m_records;
};

} // namespace papyrant
