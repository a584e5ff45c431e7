-- The labels file: one row per named label set.
PRAGMA journal_mode = DELETE;
CREATE TABLE abbreviations (
    Name       TEXT COLLATE NOCASE,
    Title1     TEXT, Title2     TEXT,
    Authors1   TEXT, Authors2   TEXT,
    Authoradd1 TEXT, Authoradd2 TEXT,
    Source1    TEXT, Source2    TEXT,
    PY1        TEXT, PY2        TEXT,
    KeyW1      TEXT, keyW2      TEXT,
    PT1        TEXT, PT2        TEXT,
    La1        TEXT, La2        TEXT,
    Ab1        TEXT, Ab2        TEXT
);
