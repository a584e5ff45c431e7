#pragma once
// The prompts seam shown as real Qt dialogs.

#include "core/Prompts.h"

#include <QPointer>
#include <QWidget>

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

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> m_parent;
    QString m_lastFolder; // dialogs reopen where the user last was
};

} // namespace papyrant
