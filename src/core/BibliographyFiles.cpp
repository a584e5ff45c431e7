#include "core/BibliographyFiles.h"

#include "core/BibliographyCheck.h"
#include "core/CommonPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace papyrant {
namespace {

const QString CantCreate = QStringLiteral("The new bibliography can't be created.");

const QString MissingTemplate = CantCreate + QLatin1Char('\n')
    + QStringLiteral("some of assistant files couldn't be found") + QLatin1Char('\n')
    + QStringLiteral("Try to close the program then run it again from start\\programs menu and try again")
    + QLatin1Char('\n') + QStringLiteral("If the problem persist try to setup the program once again.");

std::runtime_error systemError(std::errc code)
{
    return std::runtime_error(std::make_error_code(code).message());
}

QString statusLine(const QString& name, int count)
{
    const QString countText = count == 0 ? QStringLiteral("no") : QString::number(count);
    return QStringLiteral("bibliography name is: ") + name + QStringLiteral(", contains ") + countText
        + QStringLiteral(" records");
}

bool sameFileName(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.absoluteFilePath() == second.absoluteFilePath())
        return true;
    const QString canonical = first.canonicalFilePath();
    return !canonical.isEmpty() && canonical == second.canonicalFilePath();
}

// Checks and counts the file through a connection of its own, and only then makes it the
// open bibliography. Throws what the check or the count raised; the open bibliography
// stays, unless it is the file that failed.
QString openChecked(Bibliography& bibliography, const QString& path, const QString& name)
{
    int count = 0;
    try {
        Database db(path);
        checkBibliography(db);
        count = countRecords(db);
    } catch (...) {
        if (bibliography.isOpen() && sameFileName(bibliography.BibPath(), path))
            bibliography.close();
        throw;
    }
    bibliography.open(path, name);
    return statusLine(name, count);
}

} // namespace

TemplateMissing::TemplateMissing()
    : std::runtime_error(std::make_error_code(std::errc::no_such_file_or_directory).message())
{
}

void copyTemplate(const QString& templatePath, const QString& target)
{
    namespace fs = std::filesystem;
    const fs::path source = templatePath.toStdString();
    const fs::path destination = target.toStdString();
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        throw TemplateMissing();
    const QFileInfo existing(target);
    // A file marked read-only stays untouched, whoever runs the program.
    if (existing.exists() && (!existing.isWritable() || !(existing.permissions() & QFile::WriteOwner)))
        throw systemError(std::errc::permission_denied);
    if (existing.exists() && existing.isDir())
        throw systemError(std::errc::is_a_directory);
    const fs::path partial = destination.string() + ".partial";
    fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(partial, ec);
        throw std::runtime_error(reason);
    }
    fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    // A rollback journal left by a program that ended in the middle of writing the file
    // replaced belongs to that file: the engine would play its pages back into the new
    // one at the first look and break it.
    fs::remove(destination.string() + "-journal", ec);
    fs::rename(partial, destination, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(partial, ec);
        throw std::runtime_error(reason);
    }
}

QString bibliographyName(const QString& fileTitle)
{
    if (fileTitle.size() < 4)
        throw std::runtime_error(
            QStringLiteral("the file name \"%1\" is too short to end in \".pyr\"").arg(fileTitle).toStdString());
    return fileTitle.left(fileTitle.size() - 4);
}

QString refreshRecordCount(Bibliography& bibliography)
{
    // Checked, then counted without reading every key.
    Database& db = bibliography.database();
    checkBibliography(db);
    return statusLine(bibliography.BibName(), countRecords(db));
}

QString uncountedStatus(const Bibliography& bibliography)
{
    return QStringLiteral("bibliography name is: ") + bibliography.BibName()
        + QStringLiteral(", its records can't be counted");
}

std::optional<QString> createBibliography(Prompts& prompts, const ProgramState& state, Bibliography& bibliography)
{
    QString proposed = QStringLiteral("bibliography1");
    for (;;) {
        const auto file = prompts.saveFile(QStringLiteral("Create new Papyrant File"), BibliographyFilter, proposed);
        if (!file)
            return std::nullopt;
        try {
            const QString name = bibliographyName(file->fileTitle);
            proposed = name;
            if (fileTaken(*file, QStringLiteral("*.pyr")) && !askReplaceFile(prompts, file->fileTitle))
                continue;
            copyTemplate(programFile(state, TemplateLeaf), file->fullPath);
            return openChecked(bibliography, file->fullPath, name);
        } catch (const TemplateMissing&) {
            prompts.notice(MissingTemplate);
        } catch (const std::exception& e) {
            prompts.notice(CantCreate + QLatin1Char('\n') + errorText(e));
        }
        return std::nullopt;
    }
}

std::optional<QString> openBibliography(Prompts& prompts, Bibliography& bibliography)
{
    const auto file = prompts.openFile(QStringLiteral("Open Papyrant File"), BibliographyFilter, QString());
    if (!file || file->fullPath.isEmpty())
        return std::nullopt;
    try {
        return openChecked(bibliography, file->fullPath, bibliographyName(file->fileTitle));
    } catch (const std::exception& e) {
        prompts.notice(QStringLiteral("Can't open this file") + QLatin1Char('\n') + errorText(e));
        return std::nullopt;
    }
}

} // namespace papyrant
