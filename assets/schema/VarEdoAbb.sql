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

-- Tag maps the user saved (the ready-made ones are part of the program): for each field the
-- tags that fill it, "FAU | AU" for the first tag a record holds, "MH + OT" for all of them,
-- and the tags of the source's volume, issue and pages. A labels file written before tag
-- maps existed lacks this table; the program adds it when the first map is saved.
CREATE TABLE tagmaps (
    Name TEXT COLLATE NOCASE, Format TEXT,
    Title TEXT, Authors TEXT, Author_address TEXT, Source TEXT, Publishing_year TEXT,
    Keywords TEXT, Publication_type TEXT, Language TEXT, Abstract TEXT,
    Volume TEXT, Issue TEXT, First_page TEXT, Last_page TEXT
);

-- Ready-made label sets for the tagged exports researchers meet most. Start and end labels
-- are tags of each format; an end label is the tag that follows the field in the format's
-- usual order, so a record missing it fails and goes to manual adding instead of being cut
-- wrongly. The help page (HAutoExtract.htm) names the first field to choose for each set.
--
-- MEDLINE (PubMed's text export): first field Publishing year, since DP comes before TI.
-- Key words run from the journal ID (always present) to the Entrez date, so records with
-- and without MeSH headings cut alike. Language is left out: grant lines (GR) often follow
-- LA and would end up in the language list.
INSERT INTO abbreviations VALUES ('MEDLINE (PubMed)',
    'TI  - ', 'PG  - ',
    'AU  - ', 'LA  - ',
    '', '',
    'JT  - ', 'JID - ',
    'DP  - ', 'TI  - ',
    'JID - ', 'EDAT- ',
    'PT  - ', 'PL  - ',
    '', '',
    'AB  - ', 'FAU - ');
-- ISI tagged format of citation indexes (Web of Science plain text): first field Publication
-- type (PT opens every record). Two-letter tags are taken with the line feed before them, so
-- words in capitals such as ALSO or LAB are never taken for SO or AB.
INSERT INTO abbreviations VALUES ('ISI tagged (Web of Science)',
    char(10) || 'TI ', char(10) || 'SO ',
    char(10) || 'AF ', char(10) || 'TI ',
    char(10) || 'C1 ', char(10) || 'RP ',
    char(10) || 'SO ', char(10) || 'LA ',
    char(10) || 'PY ', char(10) || 'VL ',
    char(10) || 'DE ', char(10) || 'AB ',
    char(10) || 'PT ', char(10) || 'AU ',
    char(10) || 'LA ', char(10) || 'DT ',
    char(10) || 'AB ', char(10) || 'C1 ');
-- RIS: first field Publication type (TY opens every record). A record starts at its TY tag,
-- so the first line feed of the record ends the type. Tags other exporters write in another
-- order, or leave out (abstract, key words, language), are not in this set.
INSERT INTO abbreviations VALUES ('RIS',
    'TI  - ', char(10) || 'T2  - ',
    'AU  - ', char(10) || 'PY  - ',
    '', '',
    'T2  - ', char(10) || 'VL  - ',
    'PY  - ', char(10) || 'TI  - ',
    '', '',
    'TY  - ', char(10),
    '', '',
    '', '');
