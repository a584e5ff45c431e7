#pragma once
// The "Remove repeated records" tab: the review of pairs (RepeatedPairReview) above, and
// auto remove with its options and progress bar below. The tab owns the bibliography
// binding its searches and runs use. Auto remove runs on the screen's tick driver; the tab
// asks the maintenance screen to lock its input while it looks for the next pair
// (inputLocked) and to show the options dialog (optionsRequested).

#include "core/DataBinding.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/AutoRemoveRun.h"
#include "maintenance/RepeatedPairReview.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace papyrant {

class TickDriver;

class RepeatedRecordsTab : public QWidget {
    Q_OBJECT
public:
    // autoRemove: the fields auto remove compares, as the program keeps them.
    // ticks: the screen's driver, which runs auto remove.
    RepeatedRecordsTab(
        Bibliography& bibliography, const AutoRemoveOptions& autoRemove, TickDriver& ticks, QWidget* parent = nullptr);
    ~RepeatedRecordsTab() override;

signals:
    void inputLocked(bool locked);
    void optionsRequested();

private:
    QWidget* buildReviewRows();
    void findNextClicked();
    void updateClicked();
    void removeClicked();
    void autoRemoveClicked();
    // After the run: the review starts over from the first record; the report follows.
    void runEnded(const StepOutcome& outcome);
    // Puts the review's state on the controls.
    void showReview();

    DataBinding m_data; // Data1, on the open bibliography
    const AutoRemoveOptions& m_autoRemoveOptions;
    TickDriver& m_ticks;
    RepeatedPairReview m_review;
    std::unique_ptr<AutoRemoveRun> m_run;

    QPushButton* m_findNext; // Command1
    QRadioButton* m_first; // Option1
    QRadioButton* m_second; // Option2
    QToolButton* m_update; // CommandUpdate
    QToolButton* m_remove; // CommandRemove
    std::array<QPlainTextEdit*, FieldCount> m_boxes{}; // Text2(0..11)
    std::array<QLabel*, FieldCount> m_marks{}; // Picture3(0..11)
    QPushButton* m_autoRemove; // Command5
    QPushButton* m_options; // CommandOptions
    QProgressBar* m_bar; // Bar1
};

} // namespace papyrant
