#include "panel/HoverMachine.h"

namespace papyrant {

std::optional<FrameSet> frameSetOf(PanelButton button)
{
    switch (button) {
    case PanelButton::Create: return FrameSet{3, 2, false};
    case PanelButton::Open: return FrameSet{6, 2, false};
    case PanelButton::AutoExtract: return FrameSet{4, 5, true};
    case PanelButton::Manual: return FrameSet{5, 5, true};
    case PanelButton::Maintenance: return FrameSet{1, 3, true};
    case PanelButton::Search: return FrameSet{2, 4, true};
    case PanelButton::None:
    case PanelButton::Help:
    case PanelButton::Exit: break;
    }
    return std::nullopt;
}

void HoverMachine::restoreResting()
{
    if (m_HoverState == PanelButton::None)
        return;
    m_view.setAnimationTimerEnabled(false);
    m_view.showRestingImages();
    m_HoverState = PanelButton::None;
}

void HoverMachine::pointerOver(PanelButton button)
{
    if (button == PanelButton::None) {
        restoreResting();
        return;
    }
    if (m_HoverState == button)
        return;
    startHover(button);
}

void HoverMachine::startHover(PanelButton button)
{
    restoreResting();
    m_view.setHandPointer(button);
    m_view.showHighlighted(button);
    if (button == PanelButton::Help) {
        m_HoverState = button;
        m_view.setAnimationTimerEnabled(true);
        return;
    }
    if (button == PanelButton::Exit) {
        m_view.showExitBanner();
        m_HoverState = button;
        return;
    }
    loadImagesOnce();
    const FrameSet frames = *frameSetOf(button);
    m_view.copyFrames(frames.holderArray, frames.lastFrame);
    m_FrameIndex = 0;
    m_HoverState = button;
    m_view.setAnimationTimerEnabled(true);
}

void HoverMachine::tick()
{
    if (m_HoverState == PanelButton::Help) {
        m_view.toggleBlink();
        return;
    }
    const auto frames = frameSetOf(m_HoverState);
    if (!frames)
        return;
    if (m_FrameIndex > frames->lastFrame) {
        m_FrameIndex = 0;
        if (!frames->repeating) {
            // Create and open hold their last frame until the pointer leaves.
            m_view.setAnimationTimerEnabled(false);
            return;
        }
    }
    m_view.showFrame(m_FrameIndex);
    ++m_FrameIndex;
}

void HoverMachine::loadImagesOnce()
{
    if (m_ImagesLoaded)
        return;
    m_view.loadImageHolder();
    m_ImagesLoaded = true;
}

} // namespace papyrant
