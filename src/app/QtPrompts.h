#pragma once
// The prompts seam shown as real Qt dialogs.

#include "core/Prompts.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QFileDialog;

namespace papyrant {

class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr);

    PromptButton message(const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon,
        PromptButton defaultButton) override;
    QString input(const QString& prompt, const QString& title, const QString& proposed) override;
    std::optional<ChosenFile> openFile(const QString& title, const QString& filter, const QString& presetName) override;
    std::optional<ChosenFile> saveFile(const QString& title, const QString& filter, const QString& presetName) override;

    // Turns "Papyrant File (*.pyr)|*.pyr" into Qt's ";;"-separated filter list.
    static QString qtFilter(const QString& filter);

    // The extension of each filter entry's first pattern, in entry order: "rtf" for
    // "Rtf File (*.rtf)|*.rtf;"; empty for a pattern such as "*.*".
    static QStringList filterSuffixes(const QString& filter);

    // The dialog behind openFile (save false) and saveFile, ready to run: its filters,
    // its start in `folder` with `presetName` proposed, and a size that shows the
    // file list's columns.
    static std::unique_ptr<QFileDialog> fileDialog(QWidget* parent, bool save, const QString& title,
        const QString& filter, const QString& folder, const QString& presetName);

    // The least size of the file dialogs, where the screen has room for it.
    static constexpr QSize FileDialogSize{900, 560};

private:
    QWidget* dialogParent() const;
    std::optional<ChosenFile> runFileDialog(QFileDialog& dialog);

    QPointer<QWidget> m_parent;
    QString m_lastFolder; // dialogs reopen where the user last was
};

} // namespace papyrant
