#pragma once
// The manual-adding screen: eleven entry boxes on a scrolling panel beside a text view. A
// passage selected in the view goes into a box with one click and turns red; "Add" writes
// the record at once. The text can be saved to a file to resume later. Automatic
// extraction hands its failed records over to this screen.

#include "core/DataBinding.h"
#include "entry/ManualEntry.h"
#include "screens/WorkingScreen.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace papyrant {

class TextView;

class ManualForm : public WorkingScreen {
    Q_OBJECT
public:
    explicit ManualForm(Bibliography& bibliography, QWidget* parent = nullptr);
    ~ManualForm() override;

    // The records automatic extraction could not cut: their text goes into the view (and
    // opening another file is disabled so it stays there), the run's category list with its
    // current item into the category box; the way back leads to the extraction.
    void receiveFailedRecords(const QString& texts, const QStringList& categories, int currentIndex);

    const SavedState& savedState() const { return m_saved; }

protected:
    void unloadScreen() override;

private:
    QWidget* buildEntryPanel();
    // Reads the bibliography's categories (its one reader) into the category box, sorted.
    void FillCategoryList();
    void takeSelection(int field);
    void openTextFile();
    void addRecord();
    void back();
    EntryBoxes boxTexts() const;
    void clearBoxes();

    TextView* m_view = nullptr; // the text passages are taken from
    QToolButton* m_open = nullptr; // opens a text file into the view
    std::array<QPlainTextEdit*, 10> m_boxes{}; // title ... personal comment
    QLineEdit* m_entryDate = nullptr;
    // The exact text each box received from the view (CR LF kept), used while the box
    // still shows that text.
    std::array<QString, 9> m_taken;
    QComboBox* m_categories = nullptr;
    DataBinding m_data; // the Abstracts table of the open bibliography
    SavedState m_saved;
    bool m_servesExtraction = false; // the failed records of an extraction are on view
};

} // namespace papyrant
