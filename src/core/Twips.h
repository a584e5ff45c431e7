#pragma once
// Screen lengths given in twips (1440 to the inch), turned into pixels at a screen's
// logical resolution so they keep their physical size.

#include <cmath>

namespace papyrant {

// Pixels for a length in twips at a logical dpi (96 gives 15 twips a pixel); halves
// round away from zero.
inline int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace papyrant
