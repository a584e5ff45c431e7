#pragma once
// The control panel's hover and banner animation, kept apart from the widgets so the
// rules can be checked alone. The panel implements HoverView and forwards its mouse,
// keyboard-focus and timer events here; this class decides what is shown.

#include <optional>

namespace papyrant {

// Buttons by their number in the animation table; 0 means none is highlighted.
enum class PanelButton {
    None = 0,
    Create = 1,
    Open = 2,
    AutoExtract = 3,
    Manual = 4,
    Maintenance = 5,
    Search = 6,
    Help = 7,
    Exit = 8,
};

// Where a button's animation frames lie in the image holder and how they play.
struct FrameSet {
    int holderArray; // 1..6: the image holder's frame array (PicsForm::frames)
    int lastFrame; // frames 0..lastFrame are played
    bool repeating; // false: play once and hold the last frame
};

// The frame set of buttons 1 to 6; nothing for help and exit.
std::optional<FrameSet> frameSetOf(PanelButton button);

// What the machine asks of the screen; each call is one visible effect.
class HoverView {
public:
    virtual ~HoverView() = default;
    virtual void setAnimationTimerEnabled(bool enabled) = 0;
    // Every button gets its resting face, the banner its resting image, the blink pair hides.
    virtual void showRestingImages() = 0;
    virtual void setHandPointer(PanelButton button) = 0;
    virtual void showHighlighted(PanelButton button) = 0;
    virtual void loadImageHolder() = 0;
    // Copies frames 0..lastFrame of the holder's array into the banner's frame store.
    virtual void copyFrames(int holderArray, int lastFrame) = 0;
    // Shows frame `index` of the frame store in the banner.
    virtual void showFrame(int index) = 0;
    virtual void showExitBanner() = 0;
    virtual void toggleBlink() = 0;
};

class HoverMachine {
public:
    explicit HoverMachine(HoverView& view)
        : m_view(view)
    {
    }

    // Puts back the resting images unless nothing is highlighted.
    void restoreResting();
    // The pointer moved over a button: starts its hover unless it is already the
    // hovered one (moving within a button must not restart its animation).
    void pointerOver(PanelButton button);
    // The animation timer: one animation step.
    void tick();
    // The loading timer: loads the image holder if that has not happened yet.
    void loadImagesOnce();

    PanelButton HoverState() const { return m_HoverState; }
    int FrameIndex() const { return m_FrameIndex; }
    bool ImagesLoaded() const { return m_ImagesLoaded; }

private:
    void startHover(PanelButton button);

    HoverView& m_view;
    PanelButton m_HoverState = PanelButton::None;
    int m_FrameIndex = 0;
    bool m_ImagesLoaded = false;
};

} // namespace papyrant
