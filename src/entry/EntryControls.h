#pragma once
// What the two entry screens share: the text view under its button row, the sorted
// category box with its "None" rule and "new category" dialogue, opening a text file into
// the view, and the report of a store error.

#include <QString>
#include <QStringList>
#include <QStyle>

#include <exception>
#include <optional>

class QComboBox;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace papyrant {

class TextView;

// The left half of both entry screens: the text view under a row of picture buttons: the
// open button (`openName`), the screen's own `tools`, then Help (opening `helpPage`) and
// "Back to control panel".
struct ViewColumn {
    QVBoxLayout* layout;
    TextView* view;
    QToolButton* open;
    QToolButton* back;
};
ViewColumn viewColumn(QWidget* parent, const char* openName, const QString& helpPage, QList<QToolButton*> tools = {});

// The categories, kept in alphabetical order as the boxes show them.
int insertSorted(QComboBox* box, const QString& text);
void fillSorted(QComboBox* box, const QStringList& texts);

// A record saved without a category gets "None": when the box shows none, "None" is found
// (exactly) or added, and chosen.
void chooseNoneWhenEmpty(QComboBox* box);

// The "new category" dialogue: the accepted name is added at its place and chosen.
void addCategory(QComboBox* box);

// "Open Text file": the open dialog (text files, exports by their usual extensions, all
// files), then the file into the view. Gives the file's title,
// or nothing when the user cancelled or the file was refused (the user has been told why;
// the view keeps its text). Bytes that could not be read are told in a notice; the file
// is open all the same.
std::optional<QString> openTextFileInto(TextView* view);

// A store error reported by a screen's data binding: "Data Error" and the engine's text.
inline const QString DataErrorSentence = QStringLiteral("Data Error");
void reportDataError(const std::exception& error);

} // namespace papyrant
