#pragma once
// Answers the program's modal boxes from a script and records every one of them, so a
// test can assert the exact text, title, buttons and icon the user would have seen.

#include "core/Prompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace papyrant::test {

struct AskedPrompt {
    enum class Kind { Message, Input, OpenFile, SaveFile } kind;
    QString text; // message text, input prompt
    QString title;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    PromptButton defaultButton = PromptButton::Ok;
    QString filter; // file dialogs
    QString preset; // file dialogs: preset name; input boxes: proposed value
};

// A box in one line, so a test compares all the user saw at once: a message box as
// "title|text|Buttons/Icon/DefaultButton", an input box as "title|prompt|input:proposed",
// a file dialog as "title|filter|open:preset" or "title|filter|save:preset".
QString describe(const AskedPrompt& asked);

class ScriptedPrompts final : public Prompts {
public:
    // Installs itself as the program's prompts for its lifetime.
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // Answers, consumed in order per kind of box.
    void answerMessage(PromptButton button) { m_messageAnswers.push_back(button); }
    void answerInput(const QString& text) { m_inputAnswers.push_back(text); }
    // filterIndex: the filter entry chosen in the dialog, 1-based.
    void answerFile(const QString& fullPath, int filterIndex = 1)
    {
        m_fileAnswers.push_back(FileAnswer{fullPath, filterIndex});
    }
    void cancelFile() { m_fileAnswers.push_back(std::nullopt); }

    const std::vector<AskedPrompt>& asked() const { return m_asked; }
    // The texts of every message box shown, in order.
    QStringList messages() const;
    // Every box shown, in order, each as describe() gives it.
    QStringList described() const;
    // Unanswered prompts that the script did not expect, described.
    const QStringList& unexpected() const { return m_unexpected; }
    bool allAnswersUsed() const;
    void clear();

    PromptButton message(const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon,
        PromptButton defaultButton) override;
    QString input(const QString& prompt, const QString& title, const QString& proposed) override;
    std::optional<ChosenFile> openFile(const QString& title, const QString& filter, const QString& presetName) override;
    std::optional<ChosenFile> saveFile(const QString& title, const QString& filter, const QString& presetName) override;

private:
    std::optional<ChosenFile> nextFile(
        AskedPrompt::Kind kind, const QString& title, const QString& filter, const QString& presetName);
    void fail(const QString& what);

    std::deque<PromptButton> m_messageAnswers;
    std::deque<QString> m_inputAnswers;
    struct FileAnswer {
        QString fullPath;
        int filterIndex = 1;
    };
    std::deque<std::optional<FileAnswer>> m_fileAnswers;
    std::vector<AskedPrompt> m_asked;
    QStringList m_unexpected;
    Prompts* m_previous = nullptr;
};

} // namespace papyrant::test
