#include "ManageResultsBench.h"
#include "BenchFiles.h"

#include "BibliographyGenerator.h"

#include "core/Bibliography.h"
#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace papyrant::bench {
namespace {

const QString EveryRecord = QStringLiteral("Select Abstracts.* From Abstracts");
// Results sorted by title hold their rows in no file order: the hard case for deleting
// and re-categorising.
const QString EveryRecordByTitle = QStringLiteral("Select Abstracts.* From Abstracts Order by TitelS");

// Deleting leaves freed pages as they are on both sides: the program sets it for its
// deletions, the shell is told the same.
const QString FastDeletes = QStringLiteral("PRAGMA secure_delete = FAST; ");

// Writes the file through to the disk, so that no side's first commit waits for the
// pages of a fresh copy.
void syncFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0)
        throw std::runtime_error("cannot write " + path.toStdString() + " through to the disk");
}

// Reads the file once, so every side starts from a file in the page cache.
void warm(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    while (!file.read(1 << 20).isEmpty()) { }
}

class Files {
public:
    explicit Files(const ManageResultsSetup& setup)
        : m_setup(setup)
    {
        QDir().mkpath(setup.dataFolder);
    }

    QString path(const QString& leaf) const { return m_setup.dataFolder + QLatin1Char('/') + leaf; }

    // A fresh copy of file (the template by default) under leaf, written through and read
    // into the cache.
    QString copyOf(const QString& leaf, const QString& file = QString()) const
    {
        const QString target = path(leaf);
        removeBibliography(target);
        if (!QFile::copy(file.isEmpty() ? m_setup.templatePath : file, target))
            throw std::runtime_error("cannot copy to " + target.toStdString());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        syncFile(target);
        warm(target);
        return target;
    }

    // The generated bibliography of the figures, made once and kept.
    QString source() const
    {
        const QString file = path(QStringLiteral("manage-%1.pyr").arg(m_setup.records));
        const QString done = file + QStringLiteral(".complete");
        if (QFile::exists(file) && QFile::exists(done))
            return file;
        std::printf("  (generating %d records into %s)\n", m_setup.records, qPrintable(file));
        std::fflush(stdout);
        copyOf(QFileInfo(file).fileName());
        BibliographyGenerator generator;
        Database db(file);
        appendGenerated(db, m_setup.records, generator);
        QFile(done).open(QIODevice::WriteOnly);
        return file;
    }

private:
    ManageResultsSetup m_setup; // a copy: the figures outlive the setup they were made from
};

int countOf(const QString& file, const QString& where = QString())
{
    QString count;
    shellSeconds(file, QStringLiteral("select count(*) from Abstracts ") + where + QLatin1Char(';'), &count);
    return count.toInt();
}

// Runs the work to its end tick by tick, keeping the longest tick in milliseconds.
void stepped(Stepper& stepper, double& longestMs)
{
    StepOutcome outcome;
    do {
        QElapsedTimer tick;
        tick.start();
        outcome = stepper.step(TickBudget());
        longestMs = std::max(longestMs, tick.nsecsElapsed() / 1e6);
    } while (outcome.ongoing());
    if (outcome.kind == StepOutcome::Kind::Failed)
        throw std::runtime_error("the run failed: " + outcome.reason.toStdString());
}

Figure copyFigure(const ManageResultsSetup& setup, const Files& files)
{
    const QString source = files.source();
    const int records = setup.records;
    auto longest = std::make_shared<double>(0);
    auto copied = std::make_shared<int>(0);
    Figure figure;
    figure.title = QStringLiteral("Manage results: copy %1 results to a new bibliography, 15 ms ticks").arg(records);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       const QString target = files.copyOf(QStringLiteral("manage-copy.pyr"));
                       warm(source);
                       Database db(source);
                       ResultKeys keys = RecordSet(db, EveryRecord).resultKeys();
                       // From the click to the closed target.
                       const double seconds = timed([&] {
                           ResultCopy copy(db, std::move(keys), target, QStringLiteral("manage-copy.pyr"));
                           stepped(copy, *longest);
                       });
                       *copied = countOf(target);
                       return seconds;
                   }};
    figure.references
        = {{{QStringLiteral("sqlite3 shell: ATTACH, INSERT ... SELECT"),
                [=] {
                    const QString target = files.copyOf(QStringLiteral("manage-shell.pyr"));
                    warm(source);
                    return shellSeconds(target,
                        QStringLiteral(
                            "ATTACH DATABASE %1 AS source; INSERT INTO main.Abstracts SELECT * FROM source.Abstracts;")
                            .arg(sqlLiteral(source)));
                }},
            1.3}};
    figure.agree = [=] {
        std::printf("  found: %d records copied, longest tick %.1f ms\n", *copied, *longest);
        for (const char* leaf : {"manage-copy.pyr", "manage-shell.pyr"})
            QFile::remove(files.path(QString::fromLatin1(leaf)));
        return *copied == records && *longest <= 50;
    };
    return figure;
}

Figure deleteFigure(const ManageResultsSetup& setup, const Files& files)
{
    const QString source = files.source();
    const int records = setup.records;
    auto longest = std::make_shared<double>(0);
    auto left = std::make_shared<int>(-1);
    auto shellLeft = std::make_shared<int>(-1);
    Figure figure;
    figure.title = QStringLiteral("Manage results: delete all of %1 results sorted by title, 15 ms ticks, "
                                  "secure_delete FAST on both sides")
                       .arg(records);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       const QString file = files.copyOf(QStringLiteral("manage-delete.pyr"), source);
                       Bibliography bibliography;
                       bibliography.open(file, QStringLiteral("manage-delete"));
                       DataBinding results(bibliography);
                       results.setRecordSource(EveryRecordByTitle);
                       ResultKeys keys = results.refresh().resultKeys();
                       const double seconds = timed([&] {
                           ResultDeletion deletion(results.database(), std::move(keys));
                           stepped(deletion, *longest);
                       });
                       *left = countOf(file);
                       return seconds;
                   }};
    figure.references = {{{QStringLiteral("sqlite3 shell: DELETE of the same keys"),
                              [=] {
                                  const QString file = files.copyOf(QStringLiteral("manage-delete.pyr"), source);
                                  const double seconds = shellSeconds(file,
                                      FastDeletes
                                          + QStringLiteral("DELETE FROM Abstracts WHERE rowid IN (SELECT rowid FROM "
                                                           "Abstracts ORDER BY TitelS);"));
                                  *shellLeft = countOf(file);
                                  return seconds;
                              }},
        1.5}};
    figure.agree = [=] {
        std::printf("  found: %d and %d records left, longest tick %.1f ms\n", *left, *shellLeft, *longest);
        QFile::remove(files.path(QStringLiteral("manage-delete.pyr")));
        return *left == 0 && *shellLeft == 0 && *longest <= 50;
    };
    return figure;
}

Figure categoryFigure(const ManageResultsSetup& setup, const Files& files)
{
    const QString file = files.copyOf(QStringLiteral("manage-category.pyr"), files.source());
    const int records = setup.records;
    auto longest = std::make_shared<double>(0);
    auto changed = std::make_shared<int>(0);
    auto run = std::make_shared<int>(0);
    // Each side names every record anew, so each run writes every row.
    auto nextName = [run] { return ++*run % 2 ? QStringLiteral("Reviews") : QStringLiteral("Crohn's disease"); };
    Figure figure;
    figure.title
        = QStringLiteral("Manage results: \"Do\", a category for %1 results sorted by title, 15 ms ticks").arg(records);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       Bibliography bibliography;
                       bibliography.open(file, QStringLiteral("manage-category"));
                       DataBinding results(bibliography);
                       results.setRecordSource(EveryRecordByTitle);
                       const QString name = nextName();
                       ResultKeys keys = results.refresh().resultKeys();
                       const double seconds = timed([&] {
                           ResultCategoryRun assign(results.database(), std::move(keys), name);
                           stepped(assign, *longest);
                           *changed = static_cast<int>(assign.changed());
                       });
                       return seconds;
                   }};
    figure.references
        = {{{QStringLiteral("sqlite3 shell: UPDATE of every row"),
                [=] {
                    return shellSeconds(
                        file, QStringLiteral("UPDATE Abstracts SET Category = %1;").arg(sqlLiteral(nextName())));
                }},
            1.2}};
    figure.agree = [=] {
        std::printf("  found: %d records changed, longest tick %.1f ms\n", *changed, *longest);
        QFile::remove(file);
        return *changed == records && *longest <= 50;
    };
    return figure;
}

} // namespace

std::vector<Figure> manageResultsFigures(const ManageResultsSetup& setup)
{
    const Files files(setup);
    return {copyFigure(setup, files), deleteFigure(setup, files), categoryFigure(setup, files)};
}

} // namespace papyrant::bench
