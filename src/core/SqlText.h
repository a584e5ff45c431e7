#pragma once
// Building SQL texts safely.

#include <QString>

namespace papyrant {

// The text as it goes between single quotes in a statement: each quote is doubled,
// so a category like Crohn's stays one literal instead of ending it early.
QString sqlLiteralBody(const QString& text);

// The text wrapped in single quotes, quotes inside doubled: 'Crohn''s'.
QString sqlLiteral(const QString& text);

// A column as text, for comparing, grouping and sorting: "CAST(Abstracts.Category AS
// TEXT)". Another tool may have stored a value as bytes (a BLOB), which the engine never
// finds equal to a text and sorts after every text; cast, it is the same text again and
// the column's collation still applies.
QString columnAsText(const QString& column);

// Statements are written in the program's own dialect; this maps the forms SQLite
// lacks ("Delete Abstracts.* From ..." becomes "DELETE FROM ...").
QString translateStatement(const QString& sql);

// The statement with every quoted literal blanked, so keywords inside search words
// ("order by" typed as a phrase) are not taken for the statement's own.
QString withoutLiterals(const QString& sql);

} // namespace papyrant
