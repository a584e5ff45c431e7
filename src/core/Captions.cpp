#include "core/Captions.h"

namespace papyrant {

QString windowCaption(ScreenKind screen, const QString& bibName)
{
    switch (screen) {
    case ScreenKind::ControlPanel: return QStringLiteral("Papyrant, Control panel");
    case ScreenKind::AutoExtract: return QStringLiteral("Papyrant, Auto extract, bibliography name is: ") + bibName;
    case ScreenKind::ManualAdding: return QStringLiteral("Papyrant, Manual adding, bibliography name is: ") + bibName;
    case ScreenKind::SearchResults: return QStringLiteral("Papyrant, bibliography name is: ") + bibName;
    case ScreenKind::Maintenance: return QStringLiteral("Papyrant, Maintenance, bibliography name is: ") + bibName;
    }
    return QString();
}

} // namespace papyrant
