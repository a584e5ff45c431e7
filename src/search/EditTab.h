#pragma once
// The "Edit results" tab: the fields of the current record (Text2_0 ... Text2_10) on a
// panel that scrolls inside its window (Picture4 in Picture3, VScroll1), the category box
// with "New", the record counter, previous and next, the go-to box, and the buttons that
// save and remove the record. It only shows and collects; the results screen moves the
// record set and stores.

#include "search/ResultEditing.h"

#include <QWidget>

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace papyrant {

class EditTab : public QWidget {
    Q_OBJECT
public:
    explicit EditTab(QWidget* parent = nullptr);

    void showFields(const EditFields& fields);
    // Empties the fields and leaves no category chosen.
    void clearFields();
    EditTexts texts() const;
    QString categoryText() const;

    void showPosition(const EditPosition& position);
    void setCounter(const QString& text);

    // The state after a search that found `resultCount` records, record 1 current.
    void searchFinished(int resultCount);
    // The set is empty after removals: nothing left to save or remove.
    void resultsEmptied();

    void setCategories(const QStringList& names);
    QStringList categories() const;
    // Adds a new category to the list and makes it the record's category.
    void addCategory(const QString& name);
    // Shows a listed category as the record's category.
    void showCategory(const QString& name);

    QString goToText() const;
    void setGoToText(const QString& text);

    QScrollBar* scrollBar() const { return m_scroll; }

signals:
    void previousRequested();
    void nextRequested();
    void goToRequested();
    void saveRequested();
    void removeRequested();
    void newCategoryRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFields();
    QWidget* buildButtons();
    void updateScrollRange();
    void scrollTo(int value);
    void bringIntoView(const QWidget* field);
    bool filterGoToKey(const QKeyEvent& key);
    int px(int twips) const;

    std::array<QPlainTextEdit*, EditFieldCount> m_fields{}; // Text2
    EditTexts m_loaded; // the texts of the record as loaded
    QComboBox* m_category = nullptr; // Combo3
    QPushButton* m_newCategory = nullptr; // Command7
    QToolButton* m_previous = nullptr; // CommandUp
    QToolButton* m_next = nullptr; // CommandDown
    QLineEdit* m_goTo = nullptr; // Text4
    QPushButton* m_go = nullptr; // CommandGo
    QToolButton* m_update = nullptr; // CommandUpdate
    QToolButton* m_remove = nullptr; // CommandRemove
    QLabel* m_counter = nullptr; // Label7
    QWidget* m_window = nullptr; // Picture3
    QWidget* m_panel = nullptr; // Picture4
    QScrollBar* m_scroll = nullptr; // VScroll1
};

} // namespace papyrant
