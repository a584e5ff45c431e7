#include "app/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>

namespace papyrant {

QtPrompts::QtPrompts(QWidget* parent)
    : m_parent(parent)
    , m_lastFolder(QDir::currentPath())
{
}

QWidget* QtPrompts::dialogParent() const
{
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}

static QMessageBox::StandardButton toQt(PromptButton button)
{
    switch (button) {
    case PromptButton::Ok: return QMessageBox::Ok;
    case PromptButton::Yes: return QMessageBox::Yes;
    case PromptButton::No: return QMessageBox::No;
    case PromptButton::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

PromptButton QtPrompts::message(
    const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon, PromptButton defaultButton)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case PromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    case PromptIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case PromptIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case PromptButtons::Ok: standard = QMessageBox::Ok; break;
    case PromptButtons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case PromptButtons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case PromptButtons::YesNoCancel: standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(standard);
    box.setDefaultButton(toQt(defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes: return PromptButton::Yes;
    case QMessageBox::No: return PromptButton::No;
    case QMessageBox::Cancel: return PromptButton::Cancel;
    default: break;
    }
    // The close box of a question counts as its safe answer.
    if (buttons == PromptButtons::YesNo)
        return PromptButton::No;
    if (buttons == PromptButtons::OkCancel || buttons == PromptButtons::YesNoCancel)
        return PromptButton::Cancel;
    return PromptButton::Ok;
}

QString QtPrompts::input(const QString& prompt, const QString& title, const QString& proposed)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal, proposed, &accepted);
    return accepted ? answer : QString();
}

QString QtPrompts::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qt;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        if (!description.contains(QLatin1Char('(')))
            description
                += QStringLiteral(" (%1)").arg(QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
        qt << description;
    }
    if (qt.isEmpty())
        qt << filter;
    return qt.join(QStringLiteral(";;"));
}

QStringList QtPrompts::filterSuffixes(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList suffixes;
    for (int i = 1; i < parts.size(); i += 2) {
        // "*.rtf;" and "*.txt;*.text" both give the first pattern's extension.
        const QString pattern = parts[i].section(QLatin1Char(';'), 0, 0).trimmed();
        const QString suffix = pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2) : QString();
        suffixes << (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')) ? QString() : suffix);
    }
    return suffixes;
}

static std::optional<ChosenFile> chosen(const QString& path, const QStringList& filters, const QString& selectedFilter)
{
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    ChosenFile file;
    file.fullPath = QDir::toNativeSeparators(info.absoluteFilePath());
    file.fileTitle = info.fileName();
    file.folder = info.absolutePath();
    file.filterIndex = qMax(1, static_cast<int>(filters.indexOf(selectedFilter)) + 1);
    return file;
}

std::unique_ptr<QFileDialog> QtPrompts::fileDialog(QWidget* parent, bool save, const QString& title,
    const QString& filter, const QString& folder, const QString& presetName)
{
    auto dialog = std::make_unique<QFileDialog>(parent, title, folder, qtFilter(filter));
    if (save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        // The program asks its own replace question where that matters.
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
        // A name typed without an extension gets the one of the filter entry chosen,
        // and follows when the user picks another entry.
        const QStringList suffixes = filterSuffixes(filter);
        dialog->setDefaultSuffix(suffixes.value(0));
        QFileDialog* shown = dialog.get();
        QObject::connect(shown, &QFileDialog::filterSelected, shown, [shown, suffixes](const QString& chosen) {
            shown->setDefaultSuffix(suffixes.value(shown->nameFilters().indexOf(chosen)));
        });
    } else {
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (!presetName.isEmpty())
        dialog->selectFile(presetName);
    // Left to itself the dialog opens so small that its Size and Date columns are cut off.
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    QSize size = FileDialogSize.expandedTo(dialog->sizeHint());
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size());
    dialog->resize(size);
    return dialog;
}

std::optional<ChosenFile> QtPrompts::openFile(const QString& title, const QString& filter, const QString& presetName)
{
    return runFileDialog(*fileDialog(dialogParent(), false, title, filter, m_lastFolder, presetName));
}

std::optional<ChosenFile> QtPrompts::saveFile(const QString& title, const QString& filter, const QString& presetName)
{
    return runFileDialog(*fileDialog(dialogParent(), true, title, filter, m_lastFolder, presetName));
}

std::optional<ChosenFile> QtPrompts::runFileDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    auto file = chosen(dialog.selectedFiles().first(), dialog.nameFilters(), dialog.selectedNameFilter());
    if (file)
        m_lastFolder = file->folder;
    return file;
}

} // namespace papyrant
