#include "ManageResultsBench.h"

#include "BibliographyGenerator.h"
#include "FigureRunner.h"

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
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace papyrant::bench {
namespace {

const QString EveryRecord = QStringLiteral("Select Abstracts.* From Abstracts");
// Results sorted by title hold their rows in no file order: the hard case for deleting
// and re-categorising.
const QString EveryRecordByTitle = QStringLiteral("Select Abstracts.* From Abstracts Order by TitelS");

double medianOf(int runs, const std::function<double()>& run)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(run());
    std::sort(samples.begin(), samples.end());
    std::printf("      runs:");
    for (const double s : samples)
        std::printf(" %.3f", s);
    std::printf(" s\n");
    return samples[samples.size() / 2];
}

bool verdict(const char* what, double value, double limit)
{
    const bool ok = value <= limit;
    std::printf("  => %-44s %8.3f (target <= %.3f)  %s\n", what, value, limit, ok ? "PASS" : "FAIL");
    return ok;
}

class Files {
public:
    explicit Files(const ManageResultsSetup& setup)
        : m_setup(setup)
    {
        QDir().mkpath(setup.dataFolder);
    }

    QString path(const QString& leaf) const { return m_setup.dataFolder + QLatin1Char('/') + leaf; }

    // A fresh copy of file (the template by default) under leaf.
    QString copyOf(const QString& leaf, const QString& file = QString()) const
    {
        const QString target = path(leaf);
        QFile::remove(target);
        if (!QFile::copy(file.isEmpty() ? m_setup.templatePath : file, target))
            throw std::runtime_error("cannot copy to " + target.toStdString());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
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
    const ManageResultsSetup& m_setup;
};

std::vector<std::int64_t> everyKey(const QString& file)
{
    Database db(file);
    return RecordSet(db, EveryRecord).rowKeys();
}

int countOf(const QString& file)
{
    Database db(file);
    return RecordSet(db, EveryRecord).recordCount();
}

} // namespace

ManageResultsFigures manageResultsBench(const ManageResultsSetup& setup)
{
    const Files files(setup);
    const QString source = files.source();
    const std::vector<std::int64_t> keys = everyKey(source);
    ManageResultsFigures figures;
    bool met = true;

    std::printf("Copy %d results to a new bibliography (ticks of 15 ms, commits every %lld ms)\n", setup.records,
        static_cast<long long>(BatchCommitInterval.count()));
    auto copyRun = [&](std::chrono::milliseconds commitInterval) {
        const QString target = files.copyOf(QStringLiteral("manage-copy.pyr"));
        QElapsedTimer timer;
        timer.start();
        {
            ResultCopy copy(source, keys, target, QStringLiteral("manage-copy.pyr"), commitInterval);
            const StepOutcome outcome = runToEnd(copy);
            if (copy.CopyDone != setup.records)
                throw std::runtime_error("the copy stopped: " + outcome.reason.toStdString());
        }
        const double elapsed = timer.nsecsElapsed() / 1e9;
        if (countOf(target) != setup.records)
            throw std::runtime_error("the copy did not reach the target");
        return elapsed;
    };
    figures.copySeconds = medianOf(setup.runs, [&] { return copyRun(BatchCommitInterval); });
    std::printf("  for the record, a commit at the end of every tick:\n");
    figures.copyEveryTickSeconds = medianOf(setup.runs, [&] { return copyRun(std::chrono::milliseconds(0)); });
    std::printf("  sqlite3 shell: ATTACH, INSERT INTO Abstracts SELECT * FROM the source\n");
    figures.shellCopySeconds = medianOf(setup.runs, [&] {
        const QString target = files.copyOf(QStringLiteral("manage-shell.pyr"));
        return shellSeconds(target,
            QStringLiteral("ATTACH DATABASE %1 AS source; INSERT INTO main.Abstracts SELECT * FROM source.Abstracts;")
                .arg(sqlLiteral(source)));
    });
    met &= verdict("copy: ratio papyrant / shell (median)", figures.copySeconds / figures.shellCopySeconds, 2.0);

    std::printf("Delete all of %d results sorted by title (ticks of 15 ms)\n", setup.records);
    figures.deleteSeconds = medianOf(setup.runs, [&] {
        const QString file = files.copyOf(QStringLiteral("manage-delete.pyr"), source);
        Bibliography bibliography;
        bibliography.open(file, QStringLiteral("manage-delete"));
        DataBinding results(bibliography);
        results.setRecordSource(EveryRecordByTitle);
        ResultDeletion deletion(results.database(), results.refresh().rowKeys());
        QElapsedTimer timer;
        timer.start();
        const StepOutcome outcome = runToEnd(deletion);
        const double elapsed = timer.nsecsElapsed() / 1e9;
        if (deletion.remaining() != 0 || results.refresh().recordCount() != 0)
            throw std::runtime_error("the deletion stopped: " + outcome.reason.toStdString());
        return elapsed;
    });
    std::printf("  for the record, the sqlite3 shell deleting every row one by one in one statement:\n");
    figures.shellDeleteSeconds = medianOf(setup.runs, [&] {
        const QString file = files.copyOf(QStringLiteral("manage-delete.pyr"), source);
        return shellSeconds(file,
            QStringLiteral("DELETE FROM Abstracts WHERE rowid IN (SELECT rowid FROM Abstracts ORDER BY rowid DESC);"));
    });
    met &= verdict("delete all: median seconds", figures.deleteSeconds, 2.0);

    std::printf("Put %d results sorted by title into a category (one transaction)\n", setup.records);
    const QString categoryFile = files.copyOf(QStringLiteral("manage-category.pyr"), source);
    Bibliography categoryBibliography;
    categoryBibliography.open(categoryFile, QStringLiteral("manage-category"));
    DataBinding results(categoryBibliography);
    results.setRecordSource(EveryRecordByTitle);
    results.refresh();
    int run = 0;
    figures.categorySeconds = medianOf(setup.runs, [&] {
        QElapsedTimer timer;
        timer.start();
        const int changed = putResultsIntoCategory(results, ++run % 2 ? "Reviews" : "Crohn's disease");
        const double elapsed = timer.nsecsElapsed() / 1e9;
        if (changed != setup.records)
            throw std::runtime_error("the category did not reach every record");
        return elapsed;
    });
    std::printf("  for the record, the sqlite3 shell's UPDATE of every row:\n");
    figures.shellCategorySeconds = medianOf(setup.runs, [&] {
        return shellSeconds(categoryFile,
            QStringLiteral("UPDATE Abstracts SET Category = %1;")
                .arg(sqlLiteral(++run % 2 ? "Reviews" : "Crohn's disease")));
    });
    met &= verdict("category: median seconds", figures.categorySeconds, 1.0);

    for (const char* leaf : {"manage-copy.pyr", "manage-shell.pyr", "manage-delete.pyr", "manage-category.pyr"})
        QFile::remove(files.path(QString::fromLatin1(leaf)));
    figures.targetsMet = met;
    return figures;
}

} // namespace papyrant::bench
