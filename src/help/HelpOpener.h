#pragma once
// Opening help from any screen: the page is a leaf of the program folder such as
// "/Hmain.htm" (letter case kept). Shows it in the help window, where Home leads back to
// it, beside the caller without blocking it (also when it was opened before and would
// cover the dialog that calls it now), and brings the window to the front. On
// failure the user sees "An error occur at loading help". Gives true when the page was
// handed to the window.

#include <QString>

namespace papyrant {

bool showHelp(const QString& pageLeaf);

} // namespace papyrant
