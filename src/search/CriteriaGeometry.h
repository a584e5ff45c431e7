#pragma once
// Where the criteria rows sit, in twips (1440 to the inch), and how the sliding panel
// scrolls. The grid converts to pixels at the screen's logical dpi.

#include "core/Twips.h"

#include <array>

namespace papyrant::criteria {

inline constexpr int WindowWidth = 9015; // the fixed window
inline constexpr int WindowHeight = 3500;
inline constexpr int PanelWidth = 8640; // the sliding panel of rows
inline constexpr int PanelHeight = 10600;
inline constexpr int RowWidth = 8500; // one row's strip
inline constexpr int RowHeight = 1025; // the closest two rows stand 1025 apart
inline constexpr std::array<int, 10> RowTops{0, 1325, 2350, 3375, 4425, 5450, 6475, 7500, 8525, 9550};

inline constexpr int OpenBracketsLeft = 750;
inline constexpr int BracketsWidth = 850;
inline constexpr int WordsLeft = 1875;
inline constexpr int WordsWidth = 4900;
inline constexpr int CloseBracketsLeft = 7050;
inline constexpr int BoxTop = 100;
inline constexpr int BoxHeight = 400;
// The operator box stands under the words box, between its row and the next.
inline constexpr int OperatorLeft = 3900;
inline constexpr int OperatorWidth = 765;
inline constexpr int OperatorTop = 560;
inline constexpr int OperatorHeight = 420;

// One step of the scroll bar moves the panel by this much.
inline constexpr int ScrollStep = 200;

// The scroll bar's maximum: (panel height - window height) / step, rounded to the nearest
// integer with a half going to the even neighbour (36 for the sizes above).
int scrollMaximum(int panelHeight = PanelHeight, int windowHeight = WindowHeight, int step = ScrollStep);

// The panel's top in twips for a scroll value.
inline constexpr int panelTopForScroll(int value)
{
    return -ScrollStep * value;
}

} // namespace papyrant::criteria
