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

QString askNewCategory(Prompts& prompts, const QStringList& listed)
{
    for (;;) {
        const QString name = prompts.input(
            QStringLiteral("Please type the new category name"), QStringLiteral("New category"), QString());
        if (name.isEmpty() || !listed.contains(name, Qt::CaseSensitive))
            return name;
        prompts.notice(QStringLiteral("You already have a Category named ") + name);
    }
}

} // namespace papyrant
