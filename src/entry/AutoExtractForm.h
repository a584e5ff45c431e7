#pragma once
// The auto-extract screen: a text file in the view, a label set in eighteen boxes, the first
// field and a category, or a tag map for a recognised export; "Extract" cuts or reads the
// text into records of the open bibliography, in ticks of the screen's driver with a
// progress panel, and offers the records that failed to manual adding.

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

class TagMapFrame;
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
    // A tag map or none was chosen.
    void tagMapChosen();
    // The first field becomes the one whose start label begins the text's first record.
    void chooseEarliestFirstField();
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
    TextView* m_view = nullptr; // the text to extract from
    QString m_fileTitle;
    std::array<QLineEdit*, LabelFieldCount> m_startBoxes{}; // "Start after" of each field
    std::array<QLineEdit*, LabelFieldCount> m_endBoxes{}; // "End before" of each field
    std::array<QRadioButton*, LabelFieldCount> m_firstField{}; // the field that begins a record
    QComboBox* m_labelSets = nullptr; // the saved label sets
    QToolButton* m_deleteLabels = nullptr;
    QToolButton* m_renameLabels = nullptr;
    QComboBox* m_categories = nullptr; // the category the records are put in
    TagMapFrame* m_tagMaps = nullptr; // the tag map that reads the text instead of the labels
    QPushButton* m_extract = nullptr;
    QWidget* m_progressPanel = nullptr; // shown while a run goes
    QLabel* m_recordNo = nullptr; // the record being extracted
    QLabel* m_fromTo = nullptr; // "from <file> to <bibliography>"
    QProgressBar* m_bar = nullptr; // how far into the text the run is
    DataBinding m_data; // the Abstracts table of the open bibliography
    std::unique_ptr<ExtractionRun> m_run;
};

} // namespace papyrant
