#pragma once
// The search settings as one value: the searched columns, the year, language and category
// filters, the sort, and what the result pages show. The results screen owns the value;
// the options dialog edits a copy and hands it back on "OK", and every search takes a
// snapshot of it that the pages of its result read.

#include "core/RecordModel.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace papyrant {

// The columns a search can look in, in the order of the "Search at" list.
inline constexpr int SearchableColumnCount = 7;

struct CategoryChoice {
    QString name;
    bool selected = true;
    bool operator==(const CategoryChoice&) const = default;
};

// Every field is shown but the key words and the entry date.
std::array<bool, FieldCount> defaultOutputFields();

struct SearchOptions {
    // Entry i is the i-th column of the "Search at" list; Title, Keywords and Abstract by default.
    std::array<bool, SearchableColumnCount> searchedColumns{true, false, false, false, true, false, true};
    bool wholeWordOnly = true; // "Find whole word only"
    bool allYears = true;
    QString yearFrom{};
    QString yearTo{};
    bool allLanguages = true;
    QString language{};
    std::vector<CategoryChoice> categories{}; // in list order
    QString sortChoice = QStringLiteral("None"); // "None" or a field's display name
    QString sortColumn = QStringLiteral("None"); // its column-name form ("TitelS" for "Title")
    std::array<bool, FieldCount> outputFields = defaultOutputFields(); // entry j: field j of the catalogue
    bool createReferences = false;

    bool operator==(const SearchOptions&) const = default;
};

// The categories, every one of them selected.
std::vector<CategoryChoice> everyCategory(const QStringList& names);

// What a results screen starts with: the defaults, every category of the bibliography selected.
SearchOptions defaultSearchOptions(const QStringList& categories);

} // namespace papyrant
