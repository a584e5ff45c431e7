#include "options/OptionChecks.h"

#include <algorithm>

namespace papyrant {

std::optional<OptionRefusal> checkOptions(const SearchOptions& options)
{
    const auto& categories = options.categories;
    const bool anyCategory
        = std::any_of(categories.begin(), categories.end(), [](const CategoryChoice& c) { return c.selected; });
    if (!categories.empty() && !anyCategory) {
        return OptionRefusal{QStringLiteral("There is no selected category.\nplease select one or more category"),
            OptionRefusal::Place::Categories};
    }
    // One year is enough: from a year on, or up to one.
    if (!options.allYears && options.yearFrom.isEmpty() && options.yearTo.isEmpty())
        return OptionRefusal{QStringLiteral("Please set year value"), OptionRefusal::Place::YearFrom};
    if (!options.allLanguages && options.language.isEmpty())
        return OptionRefusal{QStringLiteral("Please set requested language"), OptionRefusal::Place::Language};
    return std::nullopt;
}

} // namespace papyrant
