#pragma once
// The auto-extract screen: a text file in the view, a label set in eighteen boxes, the first
// field and a category; "Extract" cuts the text into records of the open bibliography, in
// ticks of the screen's driver with a progress panel, and offers the records that failed
// to manual adding.

#include "core/DataBinding.h"
#include "entry/ExtractionRun.h"
#include "screens/WorkingScreen.h"

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace papyrant {

class TextView;

class AutoExtractForm : public WorkingScreen {
    Q_OBJECT
public:
    explicit AutoExtractForm(Bibliography& bibliography, QWidget* parent = nullptr);
    ~AutoExtractForm() override;

    // The run of the last "Extract", while the screen lives.
    const ExtractionRun* run() const { return m_run.get(); }
    bool running() const { return ticks().running(); }

protected:
    void unloadScreen() override;

private:
    QWidget* buildLabelGrid();
    QWidget* buildLabelSets();
    QWidget* buildCategory();
    QWidget* buildProgressPanel();

    // Reads the bibliography's categories (its one reader) into the category box, sorted.
    void FillCategoryList();
    void FillLabelSetList();
    void UpdateLabelButtons();
    void openTextFile();
    void viewClicked();
    void labelSetChosen();
    void saveLabels();
    void deleteLabels();
    void renameLabels();
    void afterLabelChange(const LabelChange& change);
    void StartExtraction();
    // The run has ended: its end message, or its failure reported by the driver.
    void extractionEnded(const StepOutcome& outcome);
    void FinishExtraction();
    void handOverFailedRecords();
    bool openRecordSet();

    Labels boxTexts(const std::array<QLineEdit*, LabelFieldCount>& boxes) const;
    int firstField() const;

    QWidget* m_work = nullptr; // every control a run disables
    TextView* m_view = nullptr; // RText1
    QString m_fileTitle;
    std::array<QLineEdit*, LabelFieldCount> m_startBoxes{}; // Text2(i)
    std::array<QLineEdit*, LabelFieldCount> m_endBoxes{}; // Text4(i)
    std::array<QRadioButton*, LabelFieldCount> m_firstField{}; // Option1(i)
    QComboBox* m_labelSets = nullptr; // Combo1
    QToolButton* m_deleteLabels = nullptr; // Command6
    QToolButton* m_renameLabels = nullptr; // Command7
    QComboBox* m_categories = nullptr; // Combo2
    QPushButton* m_extract = nullptr; // CommandExtract
    QWidget* m_progressPanel = nullptr; // Picture1
    QLabel* m_recordNo = nullptr; // Label4
    QLabel* m_fromTo = nullptr; // Label5
    QProgressBar* m_bar = nullptr; // Bar1
    DataBinding m_data; // Data1: the Abstracts table of the open bibliography
    std::unique_ptr<ExtractionRun> m_run;
};

} // namespace papyrant
