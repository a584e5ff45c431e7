#include "search/ResultCopy.h"

#include "core/BibliographyCheck.h"
#include "core/BibliographyFiles.h"
#include "core/CommonPrompts.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"

#include <QFileInfo>
#include <QStringList>

namespace papyrant {
namespace {

bool askCreateTarget(Prompts& prompts, const QString& fileTitle)
{
    const QString question = QStringLiteral("Bibliography \"") + fileTitle
        + QStringLiteral("\" Doesn't exist. \nDo you want to create it?");
    return prompts.message(question, programTitle(), PromptButtons::YesNo, PromptIcon::Question, PromptButton::Yes)
        == PromptButton::Yes;
}

bool sameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
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

ResultCopy::ResultCopy(const QString& sourcePath, std::vector<std::int64_t> keys, const QString& targetPath,
    const QString& targetTitle, std::chrono::milliseconds commitInterval)
    : m_keys(std::move(keys))
    , m_targetTitle(targetTitle)
    , m_target(std::make_unique<Database>(targetPath))
    , m_batch(*m_target, commitInterval)
{
    CopyTotal = static_cast<int>(m_keys.size());
    // A file another program made, or a labels file chosen by mistake, must not take
    // records it cannot hold.
    checkBibliography(*m_target);
    // Copying into the open bibliography itself reads from the same connection: the same
    // file attached a second time would block its own commit.
    QString source = QStringLiteral("main");
    if (!sameFile(sourcePath, targetPath)) {
        // ATTACH would create a missing file: the open bibliography must still be there.
        // Its content was checked when it was opened.
        if (!QFileInfo(sourcePath).isFile())
            throw StoreError(QStringLiteral("the file %1 does not exist").arg(sourcePath).toStdString());
        m_target->execute(QStringLiteral("ATTACH DATABASE %1 AS source").arg(sqlLiteral(sourcePath)));
        source = QStringLiteral("source");
    }
    QStringList columns;
    for (const QString& column : columnNames())
        columns << column;
    const QString list = columns.join(QStringLiteral(", "));
    m_insert = storeCall([&] {
        return std::make_unique<SQLite::Statement>(m_target->handle(),
            QStringLiteral("INSERT INTO main.Abstracts (%1) SELECT %1 FROM %2.Abstracts WHERE rowid = ?")
                .arg(list, source)
                .toStdString());
    });
}

ResultCopy::~ResultCopy() = default;

StepOutcome ResultCopy::step(const TickBudget& budget)
{
    if (!m_error.isEmpty())
        return StepOutcome::failed(m_error);
    try {
        m_batch.begin();
        while (m_next < CopyTotal) {
            m_insert->tryReset();
            m_insert->bind(1, static_cast<int64_t>(m_keys[static_cast<size_t>(m_next)]));
            CopyDone += m_insert->exec();
            ++m_next;
            if (budget.spent())
                break;
        }
        if (m_batch.commitIfDue(m_next >= CopyTotal)) {
            m_committedNext = m_next;
            m_committedDone = CopyDone;
        }
    } catch (const std::exception& e) {
        // Only what was committed stays; the counts go back to it.
        m_batch.rollback();
        m_insert->tryReset();
        m_next = m_committedNext;
        CopyDone = m_committedDone;
        m_error = errorText(e);
        return StepOutcome::failed(m_error);
    }
    return m_next < CopyTotal ? StepOutcome::more() : StepOutcome::done();
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
    Prompts& prompts, const ProgramState& state, const QString& sourcePath, const RecordSet& results)
{
    const auto target = chooseCopyTarget(prompts, state);
    if (!target)
        return nullptr;
    try {
        return std::make_unique<ResultCopy>(sourcePath, results.rowKeys(), target->fullPath, target->fileTitle);
    } catch (const std::exception& e) {
        prompts.notice(errorText(e));
        return nullptr;
    }
}

} // namespace papyrant
