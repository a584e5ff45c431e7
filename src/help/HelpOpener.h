#pragma once
// Opening help from any screen: the page is a leaf of the program folder such as
// "/Hmain.htm" (letter case kept). Sets HelpPage, shows the help window beside the
// caller without blocking it and brings it to the front. On failure the user sees
// "An error occur at loading help". Gives true when the page was handed to the window.

#include <QString>

namespace papyrant {

bool showHelp(const QString& pageLeaf);

} // namespace papyrant
