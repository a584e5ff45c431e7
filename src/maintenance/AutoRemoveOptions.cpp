#include "maintenance/AutoRemoveOptions.h"

#include <QStringList>

namespace papyrant {

FieldFlags defaultAutoRemoveFields()
{
    FieldFlags selected{};
    selected[Title] = true;
    selected[Abstract] = true;
    return selected;
}

FieldFlags& autoRemoveFields()
{
    static FieldFlags selected = defaultAutoRemoveFields();
    return selected;
}

bool anySelected(const FieldFlags& selected)
{
    for (bool flag : selected) {
        if (flag)
            return true;
    }
    return false;
}

QString autoRemoveSentence(const FieldFlags& selected)
{
    QStringList names;
    for (int i = 0; i < FieldCount; ++i) {
        if (selected[i])
            names << fieldDisplayNames()[i];
    }
    if (names.isEmpty())
        return QStringLiteral("You must select at least one of these categories to be matched.");
    return QStringLiteral("Auto remove repeated records when ") + names.join(QStringLiteral(", "))
        + QStringLiteral(" of them are similar.");
}

} // namespace papyrant
