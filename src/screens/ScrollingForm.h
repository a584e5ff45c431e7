#pragma once
// A column of controls taller than the room a window has for it: the column scrolls in a
// frame, as wide as the frame, by two lines of text per arrow click (a wheel notch moves
// three such steps) and a frame's height per click in the track. The control that takes
// the focus comes into view by itself (ScreenKit).

class QScrollArea;
class QWidget;

namespace papyrant {

// The frame (object name `frameName`, its scroll bar `barName`) holding `column`.
QScrollArea* scrollingForm(QWidget* parent, QWidget* column, const char* frameName, const char* barName);

} // namespace papyrant
