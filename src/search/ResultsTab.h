#pragma once
// The "Results" tab: the page list, "Present", the read-only results box holding the page
// with its marks, the notice shown while a page is built, the bar an export's progress
// shows on and the label that leads to the edit tab.

#include "search/Presentation.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextDocument;
class QTextEdit;

namespace papyrant {

class ResultsTab : public QWidget {
    Q_OBJECT
public:
    explicit ResultsTab(QWidget* parent = nullptr);

    // Puts the page's text and marks into the box in one edit block, caret at the start.
    void showPage(const PresentedPage& page);
    // The text of the page shown, exactly as built (carriage returns included): what
    // printing, saving and copying write.
    const QString& pageText() const { return m_pageText; }
    // Its colours and weights, for saving it as rich text.
    const ColourMarks& pageMarks() const { return m_pageMarks; }
    // The part of the page selected in the box, exactly as built; empty when nothing is
    // selected.
    QString selectedPageText() const;

    // Replaces the pages offered without choosing one (signals stay quiet); then
    // choosePage() picks one.
    void setPages(const QStringList& pages);
    void choosePage(int index);
    int chosenPage() const;
    QString chosenPageText() const;
    int pageCount() const;

    void setNotice(const QString& text);
    void setEditLabelToolTip(int editTarget);

    QTextEdit* resultsBox() const { return m_text; }
    QComboBox* pageBox() const { return m_pages; }
    QPushButton* presentButton() const { return m_present; }
    // Hidden but while an export runs.
    QProgressBar* exportProgress() const { return m_progress; }

signals:
    // The user (or choosePage) selected a page in the list.
    void pageChosen(int index);
    void presentRequested();
    // The caret moved in the results text; position from 0.
    void caretMoved(int position);
    void editRequested();

private:
    // Takes the page's text and marks for output.
    void keepPage(const PresentedPage& page);

    QComboBox* m_pages; // "From 1 to 50", "From 51 to 100", ...
    QPushButton* m_present;
    QLabel* m_notice; // stands where the results box was while a page is built
    QProgressBar* m_progress; // records exported
    QLabel* m_edit; // leads to the record under the caret on the edit tab
    QTextEdit* m_text; // the page with its marks
    QString m_pageText;
    std::vector<FormatRun> m_pageRuns;
    ColourMarks m_pageMarks;
    QPointer<QTextDocument> m_document; // the page shown, when one is
};

} // namespace papyrant
