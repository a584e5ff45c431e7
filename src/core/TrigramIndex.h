#pragma once
// An index of the three-character pieces of the searched columns, so that a search for a
// rare word tests only the records that hold all of its pieces instead of every record.
//
// The index (an FTS5 table with the trigram tokenizer, its content read from Abstracts)
// covers the records up to a recorded mark. Records added or changed since are noted by
// two triggers into a plain table that any SQLite can write, and a search tests them
// directly together with every record above the mark; an idle-time step brings the index
// up to date. The index only ever names more records than hold a word (an old version of
// a changed record stays in it), never fewer, and every record it names still goes
// through the search's own test: with or without it a search finds the same records.
// A file without the index, or whose index is damaged or whose engine lacks FTS5, is
// searched by reading every record as before.

#include "core/Database.h"
#include "core/Stepper.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

namespace papyrant {

// The columns the index holds, in the order of the "Search at" list.
const std::vector<QString>& trigramIndexedColumns();

// The index's MATCH expression for a search whose every row must hold its words (joined by
// And, none negated) in the columns searched: every piece of three characters, a piece with
// characters beyond ASCII in each of their case forms. Nothing when the index cannot help: a
// row shorter than three characters, a wildcard ("*", "?", "#", "[", "]") or a control
// character in it, a piece with too many case forms, or a searched column the index does
// not hold.
std::optional<QString> trigramMatch(const std::vector<QString>& rowWords, const std::vector<QString>& searchedColumns);

// True when the file holds the index with its mark, its table of records behind and both
// triggers.
bool hasTrigramIndex(Database& db);

// Adds the empty index (covering no record yet), its mark and its triggers. Throws
// StoreError when the engine refuses, e.g. without FTS5.
void createTrigramIndex(Database& db);

// Removes the index, its tables and triggers; the file is as before the index.
void dropTrigramIndex(Database& db);

// The records a search with this MATCH expression must test, in key order: those the
// index names, those changed since it was brought up to date and all above its mark.
// Read in one read transaction on `db` (a connection of its own). Nothing when the index
// is missing, damaged or its module unknown to the engine, or when there would be more
// than `limit` (the reading stops there, so a common word costs little): the caller then
// reads every record.
std::optional<std::vector<std::int64_t>> trigramCandidates(sqlite3* db, const QString& match, std::size_t limit);

// Brings the index up to date in ticks: first the records noted behind, then the records
// above the mark, a few hundred per transaction, each tick within its budget. Creates the
// index first when the file has none. Progress: records covered of the file's highest key.
class TrigramIndexBuild final : public Stepper {
public:
    explicit TrigramIndexBuild(Database& db);
    StepOutcome step(const TickBudget& budget) override;
    StepProgress progress() const override;

private:
    Database& m_db;
    bool m_started = false;
    std::int64_t m_covered = 0;
    std::int64_t m_highest = 0;
    int m_batch = 64; // records per transaction, grown or shrunk to fit the tick
};

} // namespace papyrant
