#pragma once
// The criteria rows of the "Search items" tab: ten rows of open brackets, requested
// words and close brackets, each with the operator that joins it to the next, on a panel
// that slides inside a window as high as the screen allows, with the one-line summary of
// the search under them and the "Search" button. The window shows whole rows only and
// scrolls a row at a time; the row that takes the focus comes into view.
//
// The grid only holds what the user typed; the results screen runs the search: it calls
// TidyRows(), checks rows() with CheckBrackets and composes the statement from rows().
// It wires its "Clear" tool button to clearRows() and listens to searchRequested() (the
// grid's own "Search" button).

#include "search/QueryComposition.h"
#include "search/SearchItems.h"

#include <QWidget>

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace papyrant {

class CriteriaGrid : public QWidget {
    Q_OBJECT
public:
    explicit CriteriaGrid(QWidget* parent = nullptr);

    // The rows as plain values, the input of CheckBrackets and ComposeQuery.
    CriteriaRows rows() const;
    // The text of the summary box under the rows.
    QString summary() const;

    // Empties every row whose words box is switched off, so the rows with words form one
    // unbroken run from row 0. Every search runs it first.
    void TidyRows();
    // Shows the summary of the rows (searchSummary) in the summary box.
    void UpdateSearchSummary();

    // Mirrors the highlight words of the last search in a hidden box beside each row;
    // nothing reads them back.
    void showHighlightWords(const HighlightWords& words);

    QLineEdit* openBracketsBox(int row) const { return m_rows[row].open; }
    QLineEdit* wordsBox(int row) const { return m_rows[row].words; }
    QLineEdit* closeBracketsBox(int row) const { return m_rows[row].close; }
    QComboBox* operatorBox(int row) const { return m_rows[row].op; }
    QScrollBar* scrollBar() const { return m_scroll; }
    QWidget* slidingPanel() const { return m_slider; }
    QPushButton* searchButton() const { return m_search; }
    // The rows the window shows whole, and the first of them.
    int shownRowCount() const;
    int firstShownRow() const;

public slots:
    // Clear: empties the brackets and words of every row (operators stay) and puts the
    // caret into the first words box.
    void clearRows();

signals:
    void searchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QWidget* strip = nullptr;
        QLineEdit* open = nullptr;
        QLineEdit* words = nullptr;
        QLineEdit* color = nullptr;
        QLineEdit* close = nullptr;
        QComboBox* op = nullptr;
    };
    enum class BoxKind { Open, Words, Close };

    void buildRow(int i);
    QWidget* buildCaptions();
    void wordsChanged(int i);
    void scrollTo(int value);
    // Fits the window to whole rows of the room it has, and the scroll range to it.
    void fitWindow();
    void bringRowIntoView(int row);
    int rowOf(const QObject* control) const;
    // The box's own switch, whatever the screen around it does meanwhile.
    bool switchedOn(const QWidget* box) const;
    bool findBox(const QObject* object, int& row, BoxKind& kind) const;
    bool moveFocusByArrow(int row, BoxKind kind, int key);
    bool discardTypedKey(BoxKind kind, const QKeyEvent& key) const;

    std::array<Row, CriteriaRowCount> m_rows;
    QWidget* m_room; // what the screen gives the rows: the window and its scroll bar
    QWidget* m_window; // the window the rows are seen through, whole rows high
    QWidget* m_slider; // the panel of rows that slides inside it
    int m_rowPitch = 0; // from the top of one row to the next
    QScrollBar* m_scroll;
    QLineEdit* m_summary; // the one-line summary of the rows
    QPushButton* m_search;
};

} // namespace papyrant
