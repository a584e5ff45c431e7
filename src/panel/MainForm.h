#pragma once
// The control panel: the program's first window and the hub from which every working
// screen is opened. Its picture buttons highlight and animate the banner under the
// pointer (HoverMachine); this class only puts the pictures in place.

#include "core/Bibliography.h"
#include "core/Captions.h"
#include "core/SearchIndexUpkeep.h"
#include "panel/HoverMachine.h"
#include "screens/ScreenRegistry.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QTimer;

namespace papyrant {

class PicsForm;
class PictureButton;
class TrackedPicture;

class MainForm : public QWidget, private HoverView {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    const HoverMachine& hover() const { return m_hover; }
    // The image holder, once loaded.
    const PicsForm* imageHolder() const { return m_pics.get(); }
    // The frame shown in the banner while an animation plays (-1: resting banner,
    // -2: exit banner).
    int bannerFrame() const { return m_bannerFrame; }

    // One step of the hover animation: what the animation timer does every 250 ms.
    void animationTick() { m_hover.tick(); }

    // The screen a working-screen button opens, and its label for notices.
    static ScreenKind screenOf(PanelButton button);

    // The open bibliography, which the panel owns and hands to every screen it opens.
    Bibliography& bibliography() { return m_bibliography; }

    // Re-reads the open bibliography's record count into the status line, so records a
    // screen added or removed are counted.
    void refreshRecordCount();

    // The search index's upkeep on the open bibliography, while the panel is in front;
    // nothing otherwise.
    const SearchIndexUpkeep* indexUpkeep() const { return m_indexUpkeep.get(); }
    // What the index line shows of it: one look at the upkeep, as its timer takes.
    void showIndexProgress();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Button {
        PanelButton number;
        PictureButton* picture;
        QPixmap resting; // element 0 of its image pair
        QPixmap highlighted; // element 1
    };

    void load();
    void buildButtons();
    void placeControls();
    Button& button(PanelButton number);

    // A working screen was left: the count is read again on a fresh connection (quietly
    // when the program is about to end).
    void screenLeft(ScreenExit exit);
    // Counts the open bibliography's records into the status line; a failure is shown
    // there and, when asked, reported.
    void showRecordCount(bool reportFailure);
    void createClicked();
    void openClicked();
    // The line after create or open: the new one, or whatever is open after a failure.
    void showOpened(const std::optional<QString>& statusLine);
    void workingScreenClicked(PanelButton button);
    void helpClicked();
    // The index is built or brought up to date while the panel is in front, and stopped
    // before anything else takes the file.
    void startIndexUpkeep();
    void stopIndexUpkeep();

    // HoverView
    void setAnimationTimerEnabled(bool enabled) override;
    void showRestingImages() override;
    void setHandPointer(PanelButton button) override;
    void showHighlighted(PanelButton button) override;
    void loadImageHolder() override;
    void copyFrames(int holderArray, int lastFrame) override;
    void showFrame(int index) override;
    void showExitBanner() override;
    void toggleBlink() override;

    Bibliography m_bibliography;
    HoverMachine m_hover;
    std::vector<Button> m_buttons;
    TrackedPicture* m_background = nullptr;
    TrackedPicture* m_banner = nullptr; // where the animations play
    std::array<QLabel*, 2> m_blink{}; // the two lights that blink over the exit banner
    std::array<QPixmap, 2> m_bannerImages; // resting, exit
    std::vector<QPixmap> m_frames; // frames of the hovered button
    std::unique_ptr<PicsForm> m_pics;
    QLabel* m_status = nullptr; // names the open bibliography and its record count
    QLabel* m_indexLine = nullptr; // how far the search index is built; hidden when there is nothing to say
    QTimer* m_indexTimer = nullptr;
    QElapsedTimer m_indexClock; // since the upkeep started: short catch-ups are not shown
    std::unique_ptr<SearchIndexUpkeep> m_indexUpkeep;
    QTimer* m_animationTimer = nullptr;
    QTimer* m_imageTimer = nullptr; // loads the frames just after the panel appears
    int m_bannerFrame = -1;
};

} // namespace papyrant
