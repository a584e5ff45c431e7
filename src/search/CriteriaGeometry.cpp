#include "search/CriteriaGeometry.h"

#include <cmath>

namespace papyrant::criteria {

int scrollMaximum(int panelHeight, int windowHeight, int step)
{
    const double steps = static_cast<double>(panelHeight - windowHeight) / step;
    // Banker's rounding: a half goes to the even neighbour.
    const double below = std::floor(steps);
    const double fraction = steps - below;
    if (fraction > 0.5)
        return static_cast<int>(below) + 1;
    if (fraction < 0.5)
        return static_cast<int>(below);
    const int lower = static_cast<int>(below);
    return lower % 2 == 0 ? lower : lower + 1;
}

} // namespace papyrant::criteria
