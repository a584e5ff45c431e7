#include "maintenance/AutoRemoveOptions.h"

#include <QStringList>

#include <algorithm>

namespace papyrant {

FieldFlags AutoRemoveOptions::titleAndAbstract()
{
    FieldFlags selected{};
    selected[Title] = true;
    selected[Abstract] = true;
    return selected;
}

bool AutoRemoveOptions::anySelected() const
{
    return std::any_of(fields.begin(), fields.end(), [](bool flag) { return flag; });
}

QString AutoRemoveOptions::sentence() const
{
    QStringList names;
    for (int i = 0; i < FieldCount; ++i) {
        if (fields[i])
            names << fieldDisplayNames()[i];
    }
    if (names.isEmpty())
        return QStringLiteral("You must select at least one of these categories to be matched.");
    return QStringLiteral("Auto remove repeated records when ") + names.join(QStringLiteral(", "))
        + QStringLiteral(" of them are similar.");
}

} // namespace papyrant
