#pragma once
// What "OK" of the search options requires before the dialog may close: a category to
// search when there are any, a year when the years are limited, a language when the
// language is. Pure, so the rules are checked without the dialog.

#include "options/SearchOptions.h"

#include <QString>

#include <optional>

namespace papyrant {

struct OptionRefusal {
    enum class Place { Categories, YearFrom, Language }; // where the caret goes
    QString message;
    Place place;
    bool operator==(const OptionRefusal&) const = default;
};

// Nothing when the options are complete; otherwise the first missing setting.
std::optional<OptionRefusal> checkOptions(const SearchOptions& options);

} // namespace papyrant
