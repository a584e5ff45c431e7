-- The empty bibliography that new bibliographies are copied from.
-- Text columns ignore letter case in equality, DISTINCT and ORDER BY, as users expect
-- "reviews" and "Reviews" to be one category.
PRAGMA journal_mode = DELETE;
CREATE TABLE Abstracts (
    Title            TEXT COLLATE NOCASE,
    Authors          TEXT COLLATE NOCASE,
    Author_address   TEXT COLLATE NOCASE,
    Source           TEXT COLLATE NOCASE,
    Publishing_year  TEXT COLLATE NOCASE,
    Keywords         TEXT COLLATE NOCASE,
    Publication_type TEXT COLLATE NOCASE,
    Language         TEXT COLLATE NOCASE,
    Abstract         TEXT COLLATE NOCASE,
    Personal         TEXT COLLATE NOCASE,
    Entry_Date       TEXT COLLATE NOCASE,
    Category         TEXT COLLATE NOCASE,
    TitelS           TEXT COLLATE NOCASE
);
-- A narrow index: category lists and filters read it instead of the whole table,
-- and counting or listing every record's key walks it rather than the long rows.
CREATE INDEX AbstractsCategory ON Abstracts (Category);
