#include "TrigramBench.h"
#include "BenchFiles.h"

#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SearchIndexUpkeep.h"
#include "core/TrigramIndex.h"
#include "search/QueryComposition.h"
#include "search/SearchRun.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace papyrant::bench {
namespace {

struct Planted {
    const char* word;
    int every; // in the Keywords of every n-th record
};
constexpr Planted PlantedWords[] = {{"zyxolith", 1000}, {"quarvex", 100}, {"plimbor", 10}};

void exec(sqlite3* db, const QString& sql)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite3: ") + sqlite3_errmsg(db));
}

std::int64_t number(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite3: ") + sqlite3_errmsg(db));
    const std::int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    return value;
}

QString copied(const QString& source, const QString& name)
{
    const QString path = QFileInfo(source).absolutePath() + QLatin1Char('/') + name;
    removeBibliography(path);
    if (!QFile::copy(source, path))
        throw std::runtime_error("cannot copy " + source.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// The copy with its planted words, indexed; made once and kept like the generated files.
QString indexedCopy(const QString& source, double& buildSeconds, double& longestGapMs, double& stopMs)
{
    const QString path = QFileInfo(source).absolutePath() + QStringLiteral("/trigram-") + QFileInfo(source).fileName();
    const QString done = path + QStringLiteral(".complete");
    if (!QFile::exists(done) || !QFile::exists(path)) {
        std::printf("  (copying %s and planting the words)\n", qPrintable(source));
        std::fflush(stdout);
        copied(source, QFileInfo(path).fileName());
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        for (const Planted& planted : PlantedWords)
            exec(db,
                QStringLiteral("UPDATE Abstracts SET Keywords = Keywords || ' %1' WHERE rowid % %2 = 3")
                    .arg(QLatin1String(planted.word))
                    .arg(planted.every));
        sqlite3_close(db);
        QFile(done).open(QIODevice::WriteOnly);
    }
    {
        Database db(path);
        dropTrigramIndex(db);
    }
    // Built as the panel builds it: by the upkeep on its own thread, while this thread
    // stands for the panel's event loop, waking every 10 ms; the longest it waited beyond
    // that is what a user would feel. Two seconds in, the upkeep is stopped as when a screen
    // is opened, and started again.
    longestGapMs = 0;
    stopMs = 0;
    QElapsedTimer clock;
    clock.start();
    auto runUpkeep = [&](qint64 stopAfterMs) {
        SearchIndexUpkeep upkeep(path, 0);
        QElapsedTimer running;
        running.start();
        QElapsedTimer beat;
        beat.start();
        while (upkeep.state() == SearchIndexUpkeep::State::Working) {
            QThread::msleep(10);
            longestGapMs = std::max(longestGapMs, beat.nsecsElapsed() / 1e6 - 10);
            beat.restart();
            if (stopAfterMs > 0 && running.elapsed() >= stopAfterMs) {
                QElapsedTimer stopping;
                stopping.start();
                upkeep.stop();
                stopMs = stopping.nsecsElapsed() / 1e6;
                break;
            }
        }
        if (upkeep.state() == SearchIndexUpkeep::State::Failed)
            throw std::runtime_error(upkeep.failure().toStdString());
    };
    runUpkeep(2000);
    runUpkeep(0);
    buildSeconds = clock.nsecsElapsed() / 1e9;
    return path;
}

} // namespace

std::vector<Figure> trigramFigures(const QString& source)
{
    double buildSeconds = 0;
    double longestGapMs = 0;
    double stopMs = 0;
    const QString path = indexedCopy(source, buildSeconds, longestGapMs, stopMs);
    const std::int64_t records = [&] {
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        const std::int64_t count = number(db, QStringLiteral("SELECT count(*) FROM Abstracts"));
        sqlite3_close(db);
        return count;
    }();
    std::printf("Building the trigram index of %lld records in the background: %.1f s, the event loop's longest "
                "wait %.1f ms, stopped 2 s in within %.1f ms, file %lld MB\n",
        static_cast<long long>(records), buildSeconds, longestGapMs, stopMs,
        static_cast<long long>(QFileInfo(path).size() / 1000000));

    std::vector<Figure> figures;
    auto db = std::make_shared<Database>(path);
    auto reference = std::shared_ptr<sqlite3>(
        [&] {
            sqlite3* handle = nullptr;
            sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
            return handle;
        }(),
        sqlite3_close);
    for (const Planted& planted : PlantedWords) {
        const QString word = QLatin1String(planted.word);
        auto ours = std::make_shared<std::int64_t>(0);
        auto theirs = std::make_shared<std::int64_t>(-1);
        Figure figure;
        figure.title = QStringLiteral("One-word search with the trigram index, \"%1\" in 1 of %2 records, %3 records")
                           .arg(word)
                           .arg(planted.every)
                           .arg(records);
        figure.ours
            = {"papyrant SearchJob (index, then the exact test) + count", [=] {
                   return timed([&] {
                       CriteriaRows rows;
                       rows[0].words = word;
                       SearchJob job(*db, ComposeQuery(rows, SearchOptions{}), TrigramPrefilter(rows, SearchOptions{}));
                       const StepOutcome outcome = runToEnd(job);
                       const auto result = job.takeResult();
                       if (!result)
                           throw std::runtime_error("search failed: " + outcome.reason.toStdString());
                       *ours = result->recordCount();
                   });
               }};
        figure.references.push_back({{"SQLite's built-in LIKE '%word%' over Title, Keywords, Abstract, count(*)",
                                         [=] {
                                             return timed([&] {
                                                 *theirs = number(reference.get(),
                                                     QStringLiteral("SELECT count(*) FROM Abstracts WHERE Title LIKE "
                                                                    "'%%%1%%' or Keywords LIKE '%%%1%%' or Abstract "
                                                                    "LIKE '%%%1%%'")
                                                         .arg(word));
                                             });
                                         }},
            0.5});
        figure.agree = [ours, theirs] {
            std::printf("  matches: papyrant %lld, SQLite %lld\n", static_cast<long long>(*ours),
                static_cast<long long>(*theirs));
            return *ours == *theirs;
        };
        figures.push_back(figure);
    }

    // Appending 10,000 records (copied from the file itself) with and without the index:
    // the triggers' one look at the mark per record is all the index costs.
    Figure append;
    append.title = QStringLiteral("Appending 10,000 records to the indexed file and to a copy without the index");
    // The same file with the index removed, so both sides hold the same records in the
    // same pages.
    const QString plain = copied(path, QStringLiteral("trigram-plain.pyr"));
    {
        Database without(plain);
        dropTrigramIndex(without);
    }
    auto appendTo = [](const QString& file) {
        sqlite3* db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        const double seconds = timed([&] {
            exec(db,
                QStringLiteral("INSERT INTO Abstracts (Title, Authors, Author_address, Source, Publishing_year, "
                               "Keywords, Publication_type, Language, Abstract, Category, TitelS) SELECT Title, "
                               "Authors, Author_address, Source, Publishing_year, Keywords, Publication_type, "
                               "Language, Abstract, Category, TitelS FROM Abstracts WHERE rowid <= 10000"));
        });
        exec(db, QStringLiteral("DELETE FROM Abstracts WHERE rowid > (SELECT max(rowid) - 10000 FROM Abstracts)"));
        sqlite3_close(db);
        return seconds;
    };
    append.ours = {"INSERT ... SELECT into the indexed file", [=] { return appendTo(path); }};
    append.references.push_back({{"the same into the file without the index", [=] { return appendTo(plain); }}, 1.2});
    figures.push_back(append);
    return figures;
}

} // namespace papyrant::bench
