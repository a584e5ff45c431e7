#include "search/ResultCopy.h"

#include "core/BibliographyCheck.h"
#include "core/BibliographyFiles.h"
#include "core/CommonPrompts.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"

#include <QFileInfo>
#include <QStringList>

#include <filesystem>

namespace papyrant {
namespace {

bool askCreateTarget(Prompts& prompts, const QString& fileTitle)
{
    const QString question = QStringLiteral("Bibliography \"") + fileTitle
        + QStringLiteral("\" Doesn't exist. \nDo you want to create it?");
    return prompts.message(question, programTitle(), PromptButtons::YesNo, PromptIcon::Question, PromptButton::Yes)
        == PromptButton::Yes;
}

// One file on the disk, however each name reaches it: through a link, another spelling
// of the folders, another letter case where the disk ignores it, or a second hard link.
bool sameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(
               std::filesystem::path(a.toStdU16String()), std::filesystem::path(b.toStdU16String()), error)
        && !error;
}

} // namespace

std::optional<ChosenFile> chooseCopyTarget(Prompts& prompts, const ProgramState& state)
{
    auto file = prompts.saveFile(CopyTargetTitle, BibliographyFilter, QString());
    if (!file || file->fullPath.isEmpty())
        return std::nullopt;
    // A file the listing misses but the disk holds (another letter case) counts as
    // existing, so an existing bibliography is never replaced by the empty template.
    if (!fileTaken(*file, QStringLiteral("*.pyr")) && askCreateTarget(prompts, file->fileTitle)) {
        try {
            copyTemplate(programFile(state, TemplateLeaf), file->fullPath);
        } catch (const std::exception& e) {
            prompts.notice(errorText(e));
            return std::nullopt;
        }
    }
    return file;
}

ResultCopy::ResultCopy(Database& source, ResultKeys keys, const QString& targetPath, const QString& targetTitle,
    std::chrono::milliseconds commitInterval)
    : m_targetTitle(targetTitle)
    , m_target(openTarget(source.path(), targetPath, targetTitle))
{
    CopyTotal = static_cast<int>(keys.keys.size());
    // A file another program made, or a labels file chosen by mistake, must not take
    // records it cannot hold.
    checkBibliography(*m_target);
    // ATTACH would create a missing file: the open bibliography must still be there. Its
    // content was checked when it was opened.
    if (!QFileInfo(source.path()).isFile())
        throw StoreError(QStringLiteral("the file %1 does not exist").arg(source.path()).toStdString());
    m_target->execute(QStringLiteral("ATTACH DATABASE %1 AS source").arg(sqlLiteral(source.path())));
    // The copy reads the open bibliography through the target's connection, which never
    // writes it: its view of the file changes only when another program commits. Read
    // before the result's own connection is asked, so no change falls between the two.
    m_sourceVersion = sourceVersion();
    m_stale = source.changeStamp() != keys.stamp;
    QStringList columns;
    for (const QString& column : columnNames())
        columns << column;
    const QString list = columns.join(QStringLiteral(", "));
    // The keys' array drives the join, so the records arrive in the result's order.
    m_run = std::make_unique<KeyBatchRun>(
        *m_target, std::move(keys.keys),
        QStringLiteral("INSERT INTO main.Abstracts (") + list + QStringLiteral(") SELECT ") + list
            + QStringLiteral(" FROM json_each(?1) AS k CROSS JOIN source.Abstracts ON source.Abstracts.rowid = "
                             "k.value%1"),
        keys.condition, [this] { return m_stale = m_stale || sourceVersion() != m_sourceVersion; }, nullptr, nullptr,
        commitInterval);
}

ResultCopy::~ResultCopy() = default;

std::int64_t ResultCopy::sourceVersion()
{
    return storeCall([&] { return m_target->handle().execAndGet("PRAGMA source.data_version").getInt64(); });
}

std::unique_ptr<Database> ResultCopy::openTarget(
    const QString& sourcePath, const QString& targetPath, const QString& targetTitle)
{
    // Copying the results into the file they come from would double every record.
    if (sameFile(sourcePath, targetPath))
        throw StoreError(copyIntoItselfText(targetTitle).toStdString());
    return std::make_unique<Database>(targetPath);
}

QString copyIntoItselfText(const QString& targetTitle)
{
    return QStringLiteral("\"") + targetTitle
        + QStringLiteral("\" is the open bibliography: the results are in it already.\n"
                         "Choose another bibliography to copy them to.");
}

StepOutcome ResultCopy::step(const TickBudget& budget)
{
    const StepOutcome outcome = m_run->step(budget);
    CopyDone = static_cast<int>(m_run->changed());
    return outcome;
}

QString ResultCopy::progressText() const
{
    return QStringLiteral("Copying ") + QString::number(CopyTotal) + QStringLiteral(" records to ") + m_targetTitle
        + QStringLiteral(" bibliography");
}

QString ResultCopy::outcomeText() const
{
    return QString::number(CopyDone) + QStringLiteral(" records were copied to ") + m_targetTitle
        + QStringLiteral(" bibliography");
}

std::unique_ptr<ResultCopy> startResultCopy(
    Prompts& prompts, const ProgramState& state, Database& source, const RecordSet& results)
{
    const auto target = chooseCopyTarget(prompts, state);
    if (!target)
        return nullptr;
    try {
        return std::make_unique<ResultCopy>(source, results.resultKeys(), target->fullPath, target->fileTitle);
    } catch (const std::exception& e) {
        prompts.notice(errorText(e));
        return nullptr;
    }
}

} // namespace papyrant
