#pragma once
// The "Edit results" tab: the fields of the current record in a frame they scroll in,
// each box as high as its value needs, the category box with "New", the record counter,
// previous and next, the go-to box, and the buttons that save and remove the record. It
// only shows and collects; the results screen moves the record set and stores.

#include "search/ResultEditing.h"

#include <QWidget>

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
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
    // A field or the category differs from what was shown for the record (typing and
    // undoing it is no change).
    bool changed() const;

    void showPosition(const EditPosition& position);
    void setCounter(const QString& text);

    // The state after a search that found `resultCount` records, record 1 current.
    void searchFinished(int resultCount);
    // The set is empty after removals: nothing left to save or remove.
    void resultsEmptied();

    void setCategories(const QStringList& names);
    QStringList categories() const;
    // Adds a category to the list; the record's category stays.
    void listCategory(const QString& name);
    // Shows a listed category as the record's category.
    void showCategory(const QString& name);

    QString goToText() const;
    void setGoToText(const QString& text);

signals:
    void previousRequested();
    void nextRequested();
    void goToRequested();
    void saveRequested();
    void removeRequested();
    void newCategoryRequested();
    // "Copy citation": the current record to the clipboard as BibTeX.
    void citationRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFields();
    QWidget* buildButtons();
    bool filterGoToKey(const QKeyEvent& key);
    int px(int twips) const;

    std::array<QPlainTextEdit*, EditFieldCount> m_fields{}; // the record's fields, in catalogue order
    EditTexts m_loaded; // the texts of the record as loaded
    QString m_loadedCategory; // the category box as loaded
    QComboBox* m_category = nullptr;
    QPushButton* m_newCategory = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QLineEdit* m_goTo = nullptr; // the number of a record to go to
    QPushButton* m_go = nullptr;
    QToolButton* m_update = nullptr; // saves the record
    QToolButton* m_remove = nullptr;
    QPushButton* m_cite = nullptr; // "Copy citation"
    QLabel* m_counter = nullptr; // "Record no. 3 of 120"
};

} // namespace papyrant
