#include "entry/EntryControls.h"

#include "core/CommonPrompts.h"
#include "core/Database.h"
#include "core/Prompts.h"
#include "entry/TextFileLoader.h"
#include "entry/TextView.h"
#include "help/HelpOpener.h"
#include "screens/PictureButtons.h"
#include "screens/TickDriver.h"
#include "screens/WaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

ViewColumn viewColumn(QWidget* parent, const char* openName, const QString& helpPage, QList<QToolButton*> tools)
{
    ViewColumn column;
    column.view = new TextView(parent);
    column.view->setObjectName(QStringLiteral("RText1"));
    column.view->setAccessibleName(QStringLiteral("Text file"));
    column.open = pictureButton(parent, openName, QStyle::SP_DialogOpenButton, QStringLiteral("Open Text file"));
    auto* help = pictureButton(parent, "Command9", QStyle::SP_MessageBoxQuestion, QStringLiteral("Help"));
    column.back = pictureButton(parent, "Command3", QStyle::SP_ArrowBack, QStringLiteral("Back to control panel"));
    QObject::connect(help, &QToolButton::clicked, parent, [helpPage] { showHelp(helpPage); });
    auto* row = new QHBoxLayout;
    row->addWidget(column.open);
    for (QToolButton* tool : tools)
        row->addWidget(tool);
    row->addStretch();
    row->addWidget(help);
    row->addWidget(column.back);
    column.layout = new QVBoxLayout;
    column.layout->addLayout(row);
    column.layout->addWidget(column.view, 1);
    return column;
}

int insertSorted(QComboBox* box, const QString& text)
{
    int at = 0;
    while (at < box->count()) {
        const QString listed = box->itemText(at);
        const int order = listed.compare(text, Qt::CaseInsensitive);
        if (order > 0 || (order == 0 && listed.compare(text) > 0))
            break;
        ++at;
    }
    box->insertItem(at, text);
    return at;
}

void fillSorted(QComboBox* box, const QStringList& texts)
{
    box->clear();
    for (const QString& text : texts)
        insertSorted(box, text);
    box->setCurrentIndex(-1);
}

void chooseNoneWhenEmpty(QComboBox* box)
{
    if (!box->currentText().isEmpty())
        return;
    const QString none = QStringLiteral("None");
    int at = box->findText(none, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0)
        at = insertSorted(box, none);
    box->setCurrentIndex(at);
}

void addCategory(QComboBox* box)
{
    QStringList listed;
    for (int i = 0; i < box->count(); ++i)
        listed << box->itemText(i);
    // A name already listed becomes the current entry, so cancelling after the refusal
    // leaves the user on it.
    const QString name = askNewCategory(prompts(), listed, [box](int at) { box->setCurrentIndex(at); });
    if (!name.isEmpty())
        box->setCurrentIndex(insertSorted(box, name));
}

std::optional<QString> openTextFileInto(TextView* view)
{
    // Text files first, as always; then the exports services write under their own
    // extensions, so a .ris file is chosen without typing its name.
    const auto chosen = prompts().openFile(QStringLiteral("Open text file"),
        QStringLiteral("Text  Files (*.txt)|*.txt|Exports (*.txt *.ris *.nbib *.isi *.ciw)|"
                       "*.txt;*.ris;*.nbib;*.isi;*.ciw|All files (*)|*"),
        QString());
    if (!chosen)
        return std::nullopt;
    QString note;
    try {
        WaitCursor wait;
        LoadedText loaded = loadTextFile(chosen->fullPath);
        note = unreadableBytesNote(loaded);
        view->setModelText(std::move(loaded.text));
    } catch (const std::exception& e) {
        prompts().notice(fileOpenFailure(QString::fromStdString(e.what())));
        return std::nullopt;
    }
    // The text is open; the note only says what became of the bytes that could not be read.
    if (!note.isEmpty())
        prompts().notice(note);
    return chosen->fileTitle;
}

void reportDataError(const std::exception& error)
{
    reportWorkFailure(DataErrorSentence, errorText(error));
}

} // namespace papyrant
