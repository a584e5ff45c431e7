#include "options/SearchOptions.h"

namespace papyrant {

std::array<bool, FieldCount> defaultOutputFields()
{
    std::array<bool, FieldCount> fields{};
    fields.fill(true);
    fields[Keywords] = false;
    fields[Entry_Date] = false;
    return fields;
}

std::vector<CategoryChoice> everyCategory(const QStringList& names)
{
    std::vector<CategoryChoice> choices;
    choices.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names)
        choices.push_back({name, true});
    return choices;
}

SearchOptions defaultSearchOptions(const QStringList& categories)
{
    SearchOptions options;
    options.categories = everyCategory(categories);
    return options;
}

} // namespace papyrant
