#include "options/OptionLists.h"

#include "core/DataBinding.h"
#include "core/ProgramState.h"

#include <algorithm>

namespace papyrant {

namespace {

QStringList readDistinct(const QString& statement)
{
    ProgramState& state = programState();
    state.DataPath = state.BibPath;
    SharedDataBinding binding;
    binding.setRecordSource(statement);
    RecordSet& rows = binding.refresh();
    QStringList values;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        values << rows.value(0);
    return values;
}

} // namespace

QStringList readCategories()
{
    return readDistinct(QStringLiteral("Select Distinct Abstracts.Category From Abstracts"));
}

QStringList readLanguages()
{
    QStringList languages = readDistinct(QStringLiteral("Select Distinct Abstracts.Language From Abstracts"));
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
