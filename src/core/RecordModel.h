#pragma once
// The literature record: thirteen text columns with fixed indices, the display names
// of the twelve user-visible fields, and the text rules every writer of records obeys.

#include <QString>
#include <QStringList>

#include <array>

namespace papyrant {

inline constexpr int ColumnCount = 13;
inline constexpr int FieldCount = 12;
inline constexpr int TitleIndex = 0;
inline constexpr int TitelSIndex = 12;
// Title ... Abstract: the fields extraction fills from a text (by label sets or tag maps).
inline constexpr int ExtractedFieldCount = 9;

// Stored instead of an empty value; read back as "no value".
inline const QString EmptyFieldMarker = QStringLiteral("XX_EmptyField_XX");
// The category of a record saved without one.
inline const QString NoCategory = QStringLiteral("None");

enum Column {
    Title = 0,
    Authors,
    Author_address,
    Source,
    Publishing_year,
    Keywords,
    Publication_type,
    Language,
    Abstract,
    Personal,
    Entry_Date,
    Category,
    TitelS
};

// Column name by index 0..12 ("Title" ... "TitelS").
const std::array<QString, ColumnCount>& columnNames();
QString columnName(int index);
// Index of a column name, -1 when there is none of that name (exact, case-sensitive).
int columnIndex(const QString& name);

// Display names of fields 0..11 in catalogue order ("Title" ... "Category").
const std::array<QString, FieldCount>& fieldDisplayNames();

// True when a stored value means "no value".
inline bool isEmptyField(const QString& value)
{
    return value == EmptyFieldMarker;
}

// The form a display name takes as a column to order by: blanks become "_", and
// "Title" becomes the sort key column TitelS.
QString columnNameForm(const QString& displayName);

// What a record holder keeps of a value: cut to maxLength, then line feeds, carriage
// returns and blanks stripped from the end and then from the start. Tabs stay.
QString holdText(const QString& value, int maxLength);

// What a field stores of a value: the holder's text, or the marker when nothing is left,
// so readers see a field without value rather than an empty text.
QString heldOrMarker(const QString& value, int maxLength);

// The record holders of extraction (by label sets or tag maps): the maximum length each
// column keeps.
int extractionHolderLimit(int column);

// The value an extraction holder keeps of a cut text: cut, cleaned, and the marker when
// nothing is left.
QString extractedValue(const QString& cut, int column);

} // namespace papyrant
