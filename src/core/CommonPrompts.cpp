#include "core/CommonPrompts.h"

#include <QDir>
#include <QFileInfo>

namespace papyrant {

bool fileTaken(const ChosenFile& file, const QString& listingPattern)
{
    const QStringList listed = QDir(file.folder).entryList({listingPattern}, QDir::Files | QDir::Hidden);
    return listed.contains(file.fileTitle, Qt::CaseSensitive) || QFileInfo::exists(file.fullPath);
}

bool askReplaceFile(Prompts& prompts, const QString& fileName)
{
    const QString question = QStringLiteral("You already have file called \"") + fileName
        + QStringLiteral("\"\nDo you want to replace it?");
    return prompts.message(question, programTitle(), PromptButtons::YesNo, PromptIcon::Question, PromptButton::No)
        == PromptButton::Yes;
}

QString askNewCategory(Prompts& prompts, const QStringList& listed, const std::function<void(int)>& duplicateNamed)
{
    for (;;) {
        const QString name = prompts.input(
            QStringLiteral("Please type the new category name"), QStringLiteral("New category"), QString());
        const qsizetype listedAt = name.isEmpty() ? -1 : listed.indexOf(name);
        if (listedAt < 0)
            return name;
        if (duplicateNamed)
            duplicateNamed(static_cast<int>(listedAt));
        prompts.notice(QStringLiteral("You already have a Category named ") + name);
    }
}

} // namespace papyrant
