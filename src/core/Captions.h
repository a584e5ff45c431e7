#pragma once
// Window captions: each screen names the open bibliography the same way.

#include <QString>

namespace papyrant {

enum class ScreenKind { ControlPanel, AutoExtract, ManualAdding, SearchResults, Maintenance };

QString windowCaption(ScreenKind screen, const QString& bibName);

} // namespace papyrant
