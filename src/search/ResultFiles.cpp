#include "search/ResultFiles.h"

#include "core/CommonPrompts.h"
#include "core/Database.h"
#include "search/Presentation.h"
#include "search/RtfWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <system_error>

namespace papyrant {
namespace {

// Characters no file name may hold.
const QString ForbiddenInNames = QStringLiteral("\"|<>*?:\\/");
constexpr int ProposedNameLimit = 40;

} // namespace

ResultFileKind resultFileKind(int filterIndex)
{
    return filterIndex == 2 ? ResultFileKind::PlainText : ResultFileKind::RichText;
}

QString proposedFileName(const QString& summary)
{
    QString name;
    name.reserve(summary.size());
    for (const QChar c : summary) {
        if (!ForbiddenInNames.contains(c))
            name += c;
    }
    if (name.size() >= ProposedNameLimit)
        name.truncate(ProposedNameLimit);
    return name;
}

QString proposedPageFileName(const QString& summary, int pageCount, int viewedPage)
{
    const QString name = proposedFileName(summary);
    return pageCount > 1 ? name + QString::number(viewedPage + 1) : name;
}

QString fileNotSavedMessage(const QString& error)
{
    return FileNotSaved + QLatin1Char('\n') + error;
}

std::optional<ChosenFile> askOutputFile(Prompts& prompts, const QString& title, const QString& filter,
    const QString& proposed, const std::function<std::optional<QString>(const ChosenFile&)>& taken)
{
    for (;;) {
        auto file = prompts.saveFile(title, filter, proposed);
        if (!file)
            return std::nullopt;
        const std::optional<QString> existing = taken(*file);
        if (!existing || askReplaceFile(prompts, *existing))
            return file;
    }
}

std::optional<QString> writeResultFile(
    const QString& path, const QString& text, const ColourMarks& marks, ResultFileKind kind)
{
    const QFileInfo existing(path);
    // A file marked read-only stays untouched, whoever runs the program.
    if (existing.isFile() && (!existing.isWritable() || !(existing.permissions() & QFile::WriteOwner)))
        return QString::fromStdString(std::make_error_code(std::errc::permission_denied).message());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = kind == ResultFileKind::RichText ? rtfDocument(text, marks) : text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

bool saveViewedRecords(Prompts& prompts, const QString& summary, int pageCount, int viewedPage, const QString& text,
    const ColourMarks& marks)
{
    const auto file = askOutputFile(prompts, SaveViewedTitle, ResultFileFilter,
        proposedPageFileName(summary, pageCount, viewedPage), [](const ChosenFile& chosen) -> std::optional<QString> {
            if (fileTaken(chosen, QStringLiteral("*.") + chosen.fileTitle.right(3)))
                return chosen.fileTitle;
            return std::nullopt;
        });
    if (!file)
        return false;
    if (const auto error = writeResultFile(file->fullPath, text, marks, resultFileKind(file->filterIndex))) {
        prompts.notice(fileNotSavedMessage(*error));
        return false;
    }
    return true;
}

std::optional<SaveAllFiles> chooseSaveAllFiles(Prompts& prompts, const QString& summary, int pageCount)
{
    SaveAllFiles files;
    bool tooShort = false;
    const auto file = askOutputFile(prompts, SaveAllTitle, ResultFileFilter, proposedFileName(summary),
        [&](const ChosenFile& chosen) -> std::optional<QString> {
            const QString name = chosen.fileTitle;
            tooShort = name.size() < 4;
            if (tooShort)
                return std::nullopt;
            files.SaveAllExt = name.right(3);
            files.SaveAllBase = name.chopped(4);
            files.folder = chosen.folder;
            // The file a page would replace, by the exact name the run writes (on a
            // case-blind disk the check finds it in any letter case).
            for (int page = 0; page < pageCount; ++page) {
                if (QFileInfo::exists(files.pagePath(page)))
                    return QFileInfo(files.pagePath(page)).fileName();
            }
            return std::nullopt;
        });
    if (!file)
        return std::nullopt;
    if (tooShort) {
        prompts.notice(fileNotSavedMessage(
            QStringLiteral("the file name \"%1\" is too short to hold a dot and a three-letter extension")
                .arg(file->fileTitle)));
        return std::nullopt;
    }
    files.kind = resultFileKind(file->filterIndex);
    return files;
}

QString SaveAllFiles::pagePath(int page) const
{
    return QDir(folder).filePath(SaveAllBase + QString::number(page + 1) + QLatin1Char('.') + SaveAllExt);
}

SaveAllRun::SaveAllRun(RecordSet& records, int resultCount, const SearchSnapshot& search, SaveAllFiles files)
    : m_records(records)
    , m_resultCount(resultCount)
    , m_search(search)
    , m_files(std::move(files))
    , m_pages(static_cast<int>(pageList(resultCount).size()))
{
}

StepOutcome SaveAllRun::step(const TickBudget& budget)
{
    if (!m_failure.isEmpty())
        return StepOutcome::failed(m_failure);
    while (m_next < m_pages) {
        try {
            const PresentedPage page = PresentPage(m_records, m_next, m_resultCount, m_search);
            const ColourMarks marks = colourMarks(formatRuns(static_cast<int>(page.text.size()), page.marks));
            if (const auto error = writeResultFile(m_files.pagePath(m_next), page.text, marks, m_files.kind))
                m_failure = *error;
        } catch (const std::exception& error) {
            m_failure = errorText(error);
        }
        if (!m_failure.isEmpty())
            return StepOutcome::failed(m_failure);
        ++m_next;
        if (budget.spent())
            break;
    }
    return m_next < m_pages ? StepOutcome::more() : StepOutcome::done();
}

} // namespace papyrant
