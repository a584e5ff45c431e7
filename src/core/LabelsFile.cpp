#include "core/LabelsFile.h"

#include "core/Database.h"

#include <QDir>
#include <QFileInfo>

namespace papyrant {

QString labelsFileProblem(const QString& path, const std::exception& error)
{
    if (dynamic_cast<const LabelsFileProblem*>(&error))
        return errorText(error);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("The labels file %1 is missing.").arg(QDir::toNativeSeparators(path));
    const QString engine = errorText(error);
    if (engine.contains(QLatin1String("locked")) || engine.contains(QLatin1String("busy")))
        return QStringLiteral("The labels file is in use by another program.");
    if (engine.contains(QLatin1String("readonly")))
        return QStringLiteral("The labels file is read-only.");
    for (const char* damage :
        {"not a database", "malformed", "no such table", "no such column", "there is no column"}) {
        if (engine.contains(QLatin1String(damage)))
            return QStringLiteral("The labels file is damaged.");
    }
    return engine;
}

void requireWritableLabelsFile(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return; // opening it reports the missing file
    if (!file.isWritable())
        throw LabelsFileProblem("The labels file is read-only.");
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw LabelsFileProblem("The folder of the labels file is read-only, so the file can't be changed.");
}

LabelsFileStore::LabelsFileStore(Prompts& prompts, QString labelsPath, QString vanishedText)
    : m_prompts(prompts)
    , m_path(std::move(labelsPath))
    , m_vanishedText(std::move(vanishedText))
{
}

LabelChange LabelsFileStore::changing(const QString& sentence, const std::function<LabelChange()>& work) const
{
    try {
        return work();
    } catch (const std::exception& e) {
        tell(sentence, e);
        return {LabelChange::Failed, {}};
    }
}

LabelChange LabelsFileStore::inTransaction(const std::function<LabelChange(Database&)>& work) const
{
    requireWritableLabelsFile(m_path);
    Database db(m_path);
    Database::Transaction batch(db);
    LabelChange change = work(db);
    if (change.result == LabelChange::Done)
        batch.commit();
    return change;
}

bool LabelsFileStore::confirmed(const QString& question, const QString& title) const
{
    return m_prompts.message(question, title, PromptButtons::YesNo, PromptIcon::None, PromptButton::Yes)
        == PromptButton::Yes;
}

LabelChange LabelsFileStore::tellVanished(const QString& name) const
{
    m_prompts.notice(m_vanishedText.arg(name) + QLatin1Char('\n') + QStringLiteral("Nothing was changed."));
    return {LabelChange::Vanished, {}};
}

void LabelsFileStore::tell(const QString& sentence, const std::exception& error) const
{
    m_prompts.notice(sentence + QLatin1Char('\n') + labelsFileProblem(m_path, error));
}

} // namespace papyrant
