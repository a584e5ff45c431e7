#include "MaintenanceBench.h"

#include "BibliographyGenerator.h"
#include "FigureRunner.h"

#include "core/Bibliography.h"
#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "core/TickBudget.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/AutoRemoveRun.h"
#include "maintenance/Cleanup.h"
#include "maintenance/RepeatedPairReview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <stdexcept>

namespace papyrant::bench {
namespace {

// Answers input boxes from a list and counts the notices, in place of the user.
class BenchPrompts final : public Prompts {
public:
    std::deque<QString> inputs;
    int notices = 0;

    PromptButton message(const QString&, const QString&, PromptButtons, PromptIcon, PromptButton) override
    {
        ++notices;
        return PromptButton::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override
    {
        if (inputs.empty())
            return QString();
        QString answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    std::optional<ChosenFile> openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

// The statement run in this process through SQLite's C API, every column of every row
// read as text, as a program would that does nothing else.
double apiSeconds(const QString& path, const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    bool failed = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK;
    int step = SQLITE_DONE;
    while (!failed && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            sqlite3_column_text(statement, c);
            sqlite3_column_bytes(statement, c);
        }
    }
    failed = failed || step != SQLITE_DONE;
    const std::string reason = failed ? sqlite3_errmsg(db) : std::string();
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (failed)
        throw std::runtime_error("sqlite3: " + reason);
    return timer.nsecsElapsed() / 1e9;
}

// The copy is written through to the disk before anything is timed on it: otherwise the
// first commit of the timed run waits for the whole freshly copied file to be written.
void copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString());
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    QFile copy(to);
    if (!copy.open(QIODevice::ReadWrite) || ::fsync(copy.handle()) != 0)
        throw std::runtime_error("cannot write " + to.toStdString() + " through to the disk");
}

// The generator repeats some titles on purpose; a number makes each one unique.
void makeTitleUnique(GeneratedRecord& record, int number)
{
    record[Title] += QStringLiteral(" %1").arg(number);
    record[TitelS] = record[Title].left(250);
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
    explicit Files(const MaintenanceBenchSettings& settings)
        : m_settings(settings)
    {
        QDir().mkpath(settings.dataFolder);
    }

    // Nine records in ten as generated, each title made unique, then an exact copy of
    // every ninth one, as when an export is poured in a second time: the copies are the
    // only repeated records.
    QString withRepeatedPairs() const
    {
        return made(QStringLiteral("maint-pairs"), [this](Database& db) {
            BibliographyGenerator generator;
            const int copies = m_settings.records / 10;
            const int originals = m_settings.records - copies;
            std::vector<GeneratedRecord> again;
            for (int made = 0; made < originals; made += Chunk) {
                std::vector<GeneratedRecord> chunk = generator.make(std::min(Chunk, originals - made));
                for (std::size_t i = 0; i < chunk.size(); ++i) {
                    const int number = made + static_cast<int>(i);
                    makeTitleUnique(chunk[i], number);
                    if (number % 9 == 0 && static_cast<int>(again.size()) < copies)
                        again.push_back(chunk[i]);
                }
                appendRecords(db, chunk);
            }
            appendRecords(db, again);
        });
    }

    // Every title made unique, so no two records form a pair; half the records are in
    // the category "Reviews", none of the others.
    QString withoutPairs() const
    {
        return made(QStringLiteral("maint-unique"), [this](Database& db) {
            BibliographyGenerator generator;
            for (int made = 0; made < m_settings.records; made += Chunk) {
                std::vector<GeneratedRecord> chunk = generator.make(std::min(Chunk, m_settings.records - made));
                for (std::size_t i = 0; i < chunk.size(); ++i) {
                    GeneratedRecord& record = chunk[i];
                    const int number = made + static_cast<int>(i);
                    makeTitleUnique(record, number);
                    if (number % 2 == 0)
                        record[Category] = ReviewsCategory;
                    else if (record[Category] == ReviewsCategory)
                        record[Category] = QStringLiteral("Methods");
                }
                appendRecords(db, chunk);
            }
        });
    }

    QString path(const QString& leaf) const { return m_settings.dataFolder + QLatin1Char('/') + leaf; }

    static inline const QString ReviewsCategory = QStringLiteral("Reviews");

private:
    static constexpr int Chunk = 10000;

    template <typename Fill>
    QString made(const QString& stem, Fill&& fill) const
    {
        const QString file = path(QStringLiteral("%1-%2.pyr").arg(stem).arg(m_settings.records));
        const QString done = file + QStringLiteral(".complete");
        if (QFile::exists(file) && QFile::exists(done))
            return file;
        std::printf("  (generating %s)\n", qPrintable(file));
        std::fflush(stdout);
        copyFile(m_settings.templatePath, file);
        {
            Database db(file);
            fill(db);
        }
        QFile marker(done);
        marker.open(QIODevice::WriteOnly);
        return file;
    }

    MaintenanceBenchSettings m_settings; // a copy: the figures outlive the settings they were made from
};

Figure autoRemoveFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    // The same rows as auto remove with its default options: in title-sort order, the
    // earlier of two neighbours whose title and abstract agree. Like the program, the engine
    // sorts the keys with the titles alone and reads the abstracts of candidate pairs only.
    // The generated copies are exact, so no trimming or own-work rule changes which one goes.
    const QString equivalent = QStringLiteral(
        "PRAGMA secure_delete = FAST; DELETE FROM Abstracts WHERE rowid IN (SELECT p.k FROM (SELECT rowid AS k, "
        "Title AS t, lead(rowid) OVER w AS n, lead(Title) OVER w AS nt FROM Abstracts WINDOW w AS (ORDER BY "
        "CAST(TitelS AS TEXT))) AS p JOIN Abstracts AS a ON a.rowid = p.k JOIN Abstracts AS b ON b.rowid = p.n "
        "WHERE p.t = p.nt COLLATE BINARY AND a.Abstract = b.Abstract COLLATE BINARY);");
    const QString original = files.withRepeatedPairs();
    const QString work = files.path(QStringLiteral("maint-pairs-run.pyr"));
    const QString shellWork = files.path(QStringLiteral("maint-pairs-shell.pyr"));
    const int records = settings.records;
    auto deleted = std::make_shared<std::int64_t>(0);
    auto ticks = std::make_shared<int>(0);
    auto longest = std::make_shared<double>(0);
    auto shellLeft = std::make_shared<QString>();
    Figure figure;
    figure.title
        = QStringLiteral("Maintenance: auto remove, %1 records with %2 exact pairs (Title, Abstract), 15 ms ticks")
              .arg(records)
              .arg(records / 10);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       copyFile(original, work);
                       warm(work);
                       return timed([&] {
                           Database db(work);
                           AutoRemoveRun remove(db, AutoRemoveOptions{}.fields);
                           *ticks = 0;
                           StepOutcome outcome;
                           do {
                               QElapsedTimer tick;
                               tick.start();
                               outcome = remove.step(TickBudget());
                               *longest = std::max(*longest, tick.nsecsElapsed() / 1e6);
                               ++*ticks;
                           } while (outcome.ongoing());
                           *deleted = remove.deletedCount();
                       });
                   }};
    figure.references
        = {{{"sqlite3 shell: the same rows deleted, secure_delete FAST",
                [=] {
                    copyFile(original, shellWork);
                    warm(shellWork);
                    const double seconds = shellSeconds(shellWork, equivalent);
                    shellSeconds(shellWork, QStringLiteral("select count(*) from Abstracts;"), shellLeft.get());
                    return seconds;
                }},
            1.2}};
    figure.agree = [=] {
        QString left;
        shellSeconds(work, QStringLiteral("select count(*) from Abstracts;"), &left);
        QFile::remove(work);
        QFile::remove(shellWork);
        std::printf("  found: %lld deleted in %d ticks (longest %.1f ms), sqlite3 counts %s left, the shell left %s\n",
            static_cast<long long>(*deleted), *ticks, *longest, qPrintable(left), qPrintable(*shellLeft));
        return *deleted == records / 10 && left.toLongLong() == records - *deleted && left == *shellLeft;
    };
    return figure;
}

Figure findNextFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    const QString reading = QStringLiteral("select Title from Abstracts order by TitelS;");
    const QString file = files.withoutPairs();
    auto prompts = std::make_shared<BenchPrompts>();
    auto runs = std::make_shared<int>(0);
    auto foundNone = std::make_shared<bool>(true);
    Figure figure;
    figure.title
        = QStringLiteral("Maintenance: find next, %1 records without a pair, to the end").arg(settings.records);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       return timed([&] {
                           Bibliography bibliography;
                           bibliography.open(file, QStringLiteral("find-next"));
                           DataBinding data(bibliography);
                           RepeatedPairReview review(data, *prompts);
                           review.findNext();
                           *foundNone = *foundNone && !review.actionsEnabled();
                           ++*runs;
                       });
                   }};
    figure.references = {{{"sqlite3 shell: " + reading, [=] { return shellSeconds(file, reading); }}, 0},
        {{"C API in this process: " + reading, [=] { return apiSeconds(file, reading); }}, 0}};
    figure.maxMedian = 1.0;
    figure.agree = [=] {
        std::printf("  found: %d end-of-records notices in %d runs\n", prompts->notices, *runs);
        return *foundNone && prompts->notices == *runs;
    };
    return figure;
}

Figure renameFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    const QString file = files.withoutPairs();
    const int records = settings.records;
    auto bibliography = std::make_shared<Bibliography>();
    bibliography->open(file, QStringLiteral("rename"));
    auto prompts = std::make_shared<BenchPrompts>();
    auto counted = std::make_shared<QString>();
    auto longest = std::make_shared<double>(0);
    // Papyrant renames "Reviews" to "Reviewed", the shell names it back: both rename the same
    // records, and each of Papyrant's runs starts from "Reviews".
    const QString back = QStringLiteral("Update Abstracts SET Category = 'Reviews' Where Category = 'Reviewed';");
    Figure figure;
    figure.title = QStringLiteral("Maintenance: rename a category of %1 of %2 records, 15 ms ticks")
                       .arg(records / 2)
                       .arg(records);
    figure.ours = {QStringLiteral("Papyrant"), [=] {
                       prompts->inputs.push_back(QStringLiteral("Reviewed"));
                       std::int64_t changed = 0;
                       const double seconds = timed([&] {
                           const CleanupOutcome outcome
                               = papyrant::renameCategory(*bibliography, *prompts, Files::ReviewsCategory, {});
                           if (!outcome.work)
                               return;
                           StepOutcome step;
                           do {
                               QElapsedTimer tick;
                               tick.start();
                               step = outcome.work->step(TickBudget());
                               *longest = std::max(*longest, tick.nsecsElapsed() / 1e6);
                           } while (step.ongoing());
                           changed = outcome.work->changed();
                       });
                       if (changed != records / 2)
                           throw std::runtime_error("the category was not renamed");
                       shellSeconds(file, QStringLiteral("select count(*) from Abstracts where Category = 'Reviewed';"),
                           counted.get());
                       return seconds;
                   }};
    figure.references = {{{"sqlite3 shell: the same Update, back", [=] { return shellSeconds(file, back); }}, 1.2}};
    figure.agree = [=] {
        std::printf(
            "  found: sqlite3 counts %s records renamed, longest tick %.1f ms\n", qPrintable(*counted), *longest);
        return counted->toInt() == records / 2 && *longest <= 50;
    };
    return figure;
}

} // namespace

std::vector<Figure> maintenanceFigures(const MaintenanceBenchSettings& settings)
{
    const Files files(settings);
    return {autoRemoveFigure(settings, files), findNextFigure(settings, files), renameFigure(settings, files)};
}

} // namespace papyrant::bench
