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

    DataBinding m_data; // the scan's records, on the open bibliography
    const AutoRemoveOptions& m_autoRemoveOptions;
    TickDriver& m_ticks;
    RepeatedPairReview m_review;
    std::unique_ptr<AutoRemoveRun> m_run;

    QPushButton* m_findNext;
    QRadioButton* m_first; // shows the first record of the pair
    QRadioButton* m_second; // shows the second
    QToolButton* m_update; // stores the record on view as typed
    QToolButton* m_remove; // deletes the record on view
    std::array<QPlainTextEdit*, FieldCount> m_boxes{}; // the record on view, field by field
    std::array<QLabel*, FieldCount> m_marks{}; // a tick where the two records agree
    QPushButton* m_autoRemove;
    QPushButton* m_options; // the auto-remove options
    QProgressBar* m_bar; // how far auto remove is
};

} // namespace papyrant
