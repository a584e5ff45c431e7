#include "options/OptionLists.h"

#include "core/DistinctValues.h"
#include "core/SqlText.h"

#include <algorithm>

namespace papyrant {

QStringList readLanguages(Database& bibliography)
{
    QStringList languages = readDistinctValues(bibliography,
        QStringLiteral("Select Distinct ") + columnAsText(QStringLiteral("Abstracts.Language"))
            + QStringLiteral(" From Abstracts"));
    std::stable_sort(languages.begin(), languages.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return languages;
}

QStringList sortChoices(const std::array<bool, FieldCount>& outputFields)
{
    static const QStringList sortable{QStringLiteral("Title"), QStringLiteral("Language"),
        QStringLiteral("Publication type"), QStringLiteral("Publishing year")};
    QStringList choices{QStringLiteral("None")};
    for (int j = 0; j < FieldCount; ++j) {
        const QString& name = fieldDisplayNames()[j];
        if (outputFields[j] && sortable.contains(name))
            choices << name;
    }
    return choices;
}

} // namespace papyrant
