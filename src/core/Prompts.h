#pragma once
// Every modal box of the program goes through this seam, so tests can answer it and
// check exactly what the user would have been asked.

#include <QString>

#include <optional>

namespace papyrant {

enum class PromptButton { Ok, Yes, No, Cancel };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Question, Critical, Exclamation, Information };

// The program's name: the title of its message boxes.
QString programTitle();

struct ChosenFile {
    QString fullPath;
    QString fileTitle; // name without folder
    QString folder; // folder the user chose in the dialog
    int filterIndex = 1; // 1-based, as the filter list counts
};

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual PromptButton message(
        const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon, PromptButton defaultButton)
        = 0;
    // The answer typed; empty on Cancel.
    virtual QString input(const QString& prompt, const QString& title, const QString& proposed) = 0;
    // Filters are written "Description (*.ext)|*.ext" with further pairs joined by "|".
    // Nothing (std::nullopt) when the user cancels.
    virtual std::optional<ChosenFile> openFile(const QString& title, const QString& filter, const QString& presetName)
        = 0;
    virtual std::optional<ChosenFile> saveFile(const QString& title, const QString& filter, const QString& presetName)
        = 0;

    // A notice: OK button, no icon, the program's name as title.
    void notice(const QString& text)
    {
        message(text, programTitle(), PromptButtons::Ok, PromptIcon::None, PromptButton::Ok);
    }
};

// The prompts the screens use: the real boxes, or what a test installed.
Prompts& prompts();
void setPrompts(Prompts* replacement);

} // namespace papyrant
