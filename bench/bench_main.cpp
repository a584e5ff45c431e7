// papyrant-bench: times the record store on generated bibliographies. Each figure does
// one job through Papyrant and through one or more references that use SQLite's C API
// directly; every side runs in this process and is timed the same way, runs of the two
// sides alternate, and the figure judges the ratio of the medians against its target.

#include "BibliographyGenerator.h"
#include "BenchFiles.h"
#include "CitationExportBench.h"
#include "EntryBench.h"
#include "FigureRunner.h"
#include "MaintenanceBench.h"
#include "ManageResultsBench.h"
#include "TaggedExtractionBench.h"
#include "TaggedReadingBench.h"
#include "TrigramBench.h"

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RecordSet.h"
#include "core/SplitScan.h"
#include "core/SqlText.h"
#include "search/QueryComposition.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace papyrant;
using namespace papyrant::bench;

namespace {

// A plain SQLite connection: the references' side, with SQLite's own Like.
class Connection {
public:
    explicit Connection(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fail();
    }
    ~Connection() { sqlite3_close_v2(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() { return m_db; }
    void exec(const char* sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
    }
    std::int64_t number(const QString& sql)
    {
        sqlite3_stmt* statement = prepare(sql);
        const std::int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        sqlite3_finalize(statement);
        return value;
    }
    sqlite3_stmt* prepare(const QString& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            fail();
        return statement;
    }

private:
    [[noreturn]] void fail() { throw std::runtime_error(std::string("sqlite3: ") + sqlite3_errmsg(m_db)); }
    sqlite3* m_db = nullptr;
};

class Bench {
public:
    Bench(QString programFolder, QString dataFolder, int records, int large)
        : m_template(programFolder + "/VarEdoRecors")
        , m_data(std::move(dataFolder))
        , m_records(records)
        , m_large(large)
    {
        QDir().mkpath(m_data);
    }

    Figure insert();
    Figure openAndCount();
    Figure recordSetMemory();
    Figure likeScan();
    Figure defaultSearch(int records, double maxSeconds, double maxRatio);
    Figure deleteWhileWalking();

    int large() const { return m_large; }
    int records() const { return m_records; }

private:
    QString freshCopy(const QString& name) const;
    QString filled(int count); // a bibliography of count records, made once and kept
    void fill(const QString& path, int count, BibliographyGenerator& generator) const;

    QString m_template;
    QString m_data;
    int m_records;
    int m_large;
};

QString Bench::freshCopy(const QString& name) const
{
    const QString path = m_data + "/" + name;
    removeBibliography(path);
    if (!QFile::copy(m_template, path))
        throw std::runtime_error("cannot copy the template " + m_template.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void Bench::fill(const QString& path, int count, BibliographyGenerator& generator) const
{
    Database db(path);
    appendGenerated(db, count, generator);
}

QString Bench::filled(int count)
{
    const QString path = QStringLiteral("%1/bench-%2.pyr").arg(m_data).arg(count);
    const QString done = path + ".complete";
    if (QFile::exists(done) && QFile::exists(path))
        return path;
    std::printf("  (generating %d records into %s)\n", count, qPrintable(path));
    std::fflush(stdout);
    freshCopy(QFileInfo(path).fileName());
    BibliographyGenerator generator;
    const int chunk = 20000; // keeps memory flat while a million records are made
    for (int made = 0; made < count; made += chunk)
        fill(path, std::min(chunk, count - made), generator);
    QFile marker(done);
    marker.open(QIODevice::WriteOnly);
    return path;
}

Figure Bench::insert()
{
    auto records = std::make_shared<std::vector<GeneratedRecord>>(BibliographyGenerator().make(m_records));
    // The references get the rows as SQLite wants them: SQL text, and UTF-8 values.
    auto script = std::make_shared<QByteArray>("BEGIN;\n");
    auto utf8 = std::make_shared<std::vector<std::array<QByteArray, 13>>>();
    for (const auto& record : *records) {
        QString line = QStringLiteral("INSERT INTO Abstracts VALUES(");
        std::array<QByteArray, 13> values;
        for (int c = 0; c < 13; ++c) {
            line += (c ? "," : "") + sqlLiteral(record[c]);
            values[c] = record[c].toUtf8();
        }
        *script += (line + ");\n").toUtf8();
        utf8->push_back(std::move(values));
    }
    *script += "COMMIT;\n";
    Figure figure;
    figure.title = QStringLiteral("Insert %1 generated records (one transaction each side)").arg(m_records);
    figure.ours = {"papyrant RecordSet addNew/update", [this, records] {
                       const QString path = freshCopy("insert-ours.pyr");
                       return timed([&] {
                           Database db(path);
                           Database::Transaction batch(db);
                           RecordSet table(db, "Abstracts");
                           for (const auto& record : *records) {
                               table.addNew();
                               for (int c = 0; c < 13; ++c)
                                   table.setValue(c, record[c]);
                               table.update();
                           }
                           batch.commit();
                       });
                   }};
    figure.references.push_back({{"sqlite3 INSERT script (sqlite3_exec)",
                                     [this, script] {
                                         const QString path = freshCopy("insert-script.pyr");
                                         return timed([&] { Connection(path).exec(script->constData()); });
                                     }},
        2.0});
    figure.references.push_back({{"C API prepared INSERT",
                                     [this, utf8] {
                                         const QString path = freshCopy("insert-c.pyr");
                                         return timed([&] {
                                             Connection db(path);
                                             db.exec("BEGIN");
                                             sqlite3_stmt* insert = db.prepare(
                                                 "INSERT INTO Abstracts VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)");
                                             for (const auto& values : *utf8) {
                                                 for (int c = 0; c < 13; ++c)
                                                     sqlite3_bind_text(insert, c + 1, values[c].constData(),
                                                         static_cast<int>(values[c].size()), SQLITE_STATIC);
                                                 sqlite3_step(insert);
                                                 sqlite3_reset(insert);
                                             }
                                             sqlite3_finalize(insert);
                                             db.exec("COMMIT");
                                         });
                                     }},
        1.3});
    return figure;
}

Figure Bench::openAndCount()
{
    const QString path = filled(m_large);
    auto line = std::make_shared<QString>();
    auto count = std::make_shared<std::int64_t>(0);
    Figure figure;
    figure.title = QStringLiteral("Open a %1-record bibliography and refresh its count (warm file)").arg(m_large);
    figure.ours = {"open + record-count refresh", [path, line] {
                       return timed([&] {
                           Bibliography bibliography;
                           bibliography.open(path, bibliographyName(QFileInfo(path).fileName()));
                           *line = refreshRecordCount(bibliography);
                       });
                   }};
    figure.references.push_back(
        {{"sqlite3 open + select count(*)",
             [path, count] {
                 return timed([&] { *count = Connection(path).number("SELECT count(*) FROM Abstracts"); });
             }},
            2.0});
    figure.agree = [line, count] {
        std::printf("  status line: %s; count(*) %lld\n", qPrintable(*line), static_cast<long long>(*count));
        return line->contains(QStringLiteral(", contains %1 records").arg(*count));
    };
    return figure;
}

long residentKilobytes()
{
    QFile statm("/proc/self/statm");
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Run in a fresh process, so memory freed by earlier figures cannot hide the growth.
int memoryProbe(const QString& path, int expected)
{
    Database db(path);
    const long before = residentKilobytes();
    RecordSet all(db, "Select Abstracts.* From Abstracts");
    all.moveLast();
    const QString last = all.value(0);
    const long after = residentKilobytes();
    if (all.recordCount() != expected || last.isEmpty()) {
        std::fprintf(stderr, "the record set does not hold every row\n");
        return 1;
    }
    std::printf("%ld %ld\n", before, after);
    return 0;
}

Figure Bench::recordSetMemory()
{
    const QString path = filled(m_large);
    Figure figure;
    figure.title
        = QStringLiteral("Resident memory of a RecordSet over %1 rows (each run a fresh process)").arg(m_large);
    figure.unit = "MB";
    figure.maxMedian = 64.0;
    auto run = std::make_shared<int>(0);
    figure.ours
        = {"resident growth", [this, path, run] {
               QProcess probe;
               probe.start(QCoreApplication::applicationFilePath(),
                   {"--memory-probe", path, "--large", QString::number(m_large)});
               if (!probe.waitForFinished(-1) || probe.exitCode() != 0)
                   throw std::runtime_error("the memory probe failed: " + probe.readAllStandardError().toStdString());
               const QStringList kilobytes = QString::fromUtf8(probe.readAllStandardOutput()).split(' ');
               const long before = kilobytes.value(0).toLong();
               const long after = kilobytes.value(1).toLong();
               std::printf("  run %d: resident %ld kB before, %ld kB after\n", ++*run, before, after);
               return (after - before) / 1024.0;
           }};
    return figure;
}

// Prints both counts; true when they agree.
std::function<bool()> sameCount(std::shared_ptr<std::int64_t> ours, std::shared_ptr<std::int64_t> reference)
{
    return [ours, reference] {
        std::printf("  matches: papyrant %lld, reference %lld\n", static_cast<long long>(*ours),
            static_cast<long long>(*reference));
        return *ours == *reference;
    };
}

Figure Bench::likeScan()
{
    const QString path = filled(m_records);
    const QString word = BibliographyGenerator::searchWord();
    const QString ours = QStringLiteral("Select Abstracts.* From Abstracts Where (Abstracts.Title Like '* %1 *') or "
                                        "(Abstracts.Keywords Like '* %1 *') or (Abstracts.Abstract Like '* %1 *')")
                             .arg(word);
    const QString builtIn = QStringLiteral("SELECT count(*) FROM Abstracts WHERE (Title LIKE '%% %1 %%') or "
                                           "(Keywords LIKE '%% %1 %%') or (Abstract LIKE '%% %1 %%')")
                                .arg(word);
    auto db = std::make_shared<Database>(path);
    auto reference = std::make_shared<Connection>(path);
    auto ourCount = std::make_shared<std::int64_t>(0);
    auto referenceCount = std::make_shared<std::int64_t>(0);
    Figure figure;
    figure.title
        = QStringLiteral("One Like '* word *' scan over Title, Keywords and Abstract of %1 records").arg(m_records);
    figure.ours = {"papyrant Like, record set of the matches",
        [=] { return timed([&] { *ourCount = RecordSet(*db, ours).recordCount(); }); }};
    figure.references.push_back({{"SQLite's built-in LIKE, count(*)",
                                     [=] { return timed([&] { *referenceCount = reference->number(builtIn); }); }},
        1.5});
    figure.agree = sameCount(ourCount, referenceCount);
    return figure;
}

Figure Bench::defaultSearch(int records, double maxSeconds, double maxRatio)
{
    const QString path = filled(records);
    const QString word = BibliographyGenerator::searchWord();
    auto db = std::make_shared<Database>(path);
    auto reference = std::make_shared<Connection>(path);
    auto ourCount = std::make_shared<std::int64_t>(0);
    auto referenceCount = std::make_shared<std::int64_t>(-1);
    Figure figure;
    figure.title = QStringLiteral("Default one-word search (\"%1\" in Title, Keywords, Abstract) on %2 records")
                       .arg(word)
                       .arg(records);
    figure.maxMedian = maxSeconds;
    figure.ours
        = {"papyrant compose + run to count", [=] {
               return timed([&] {
                   CriteriaRows rows;
                   rows[0].words = word;
                   *ourCount = RecordSet(*db, ComposeQuery(rows, SearchOptions{}), scanConnectionCount()).recordCount();
               });
           }};
    // The same search read on the one connection, shown beside it.
    figure.references.push_back({{"papyrant on one connection",
                                     [=] {
                                         return timed([&] {
                                             CriteriaRows rows;
                                             rows[0].words = word;
                                             RecordSet(*db, ComposeQuery(rows, SearchOptions{})).recordCount();
                                         });
                                     }},
        0});
    if (records == m_large) {
        // The floor: SQLite reading every searched value and doing nothing with it.
        const QString readAll
            = QStringLiteral("SELECT sum(length(CAST(Title AS BLOB))) + sum(length(CAST(Keywords AS BLOB))) "
                             "+ sum(length(CAST(Abstract AS BLOB))) FROM Abstracts");
        figure.references.push_back(
            {{"SQLite reading the searched columns", [=] { return timed([&] { reference->number(readAll); }); }},
                maxRatio});
        return figure;
    }
    // SQLite's own LIKE finding the word anywhere in the same three columns. A whole-word
    // search finds a part of those records: never more.
    QString where;
    for (const char* column : {"Title", "Keywords", "Abstract"}) {
        if (!where.isEmpty())
            where += " or ";
        where += QStringLiteral("%1 LIKE '%%%2%%'").arg(column, word);
    }
    figure.references.push_back(
        {{"SQLite's built-in LIKE '%word%', count(*)",
             [=] {
                 return timed(
                     [&] { *referenceCount = reference->number("SELECT count(*) FROM Abstracts WHERE " + where); });
             }},
            maxRatio});
    figure.agree = [ourCount, referenceCount] {
        std::printf("  matches: papyrant %lld whole words, SQLite %lld anywhere\n", static_cast<long long>(*ourCount),
            static_cast<long long>(*referenceCount));
        return *ourCount > 0 && *ourCount <= *referenceCount;
    };
    return figure;
}

Figure Bench::deleteWhileWalking()
{
    const QString path = filled(m_records);
    const int every = 10;
    auto db = std::make_shared<Database>(path);
    auto reference = std::make_shared<Connection>(path);
    auto deleted = std::make_shared<std::int64_t>(0);
    auto referenceDeleted = std::make_shared<std::int64_t>(0);
    Figure figure;
    figure.title = QStringLiteral("Delete every %1th record while walking a %2-record set (rolled back after timing)")
                       .arg(every)
                       .arg(m_records);
    figure.ours = {"papyrant RecordSet walk + deleteCurrent", [=] {
                       RecordSet rows(*db, "Abstracts");
                       Database::Transaction batch(*db);
                       *deleted = 0;
                       return timed([&] {
                           for (int i = 0; !rows.eof(); ++i) {
                               if (i % every == 0) {
                                   rows.deleteCurrent();
                                   ++*deleted;
                               }
                               rows.moveNext();
                           }
                       });
                   }};
    figure.references.push_back(
        {{"C API prepared DELETE by rowid",
             [=] {
                 std::vector<std::int64_t> keys;
                 sqlite3_stmt* read = reference->prepare("SELECT rowid FROM Abstracts ORDER BY rowid");
                 for (int i = 0; sqlite3_step(read) == SQLITE_ROW; ++i) {
                     if (i % every == 0)
                         keys.push_back(sqlite3_column_int64(read, 0));
                 }
                 sqlite3_finalize(read);
                 *referenceDeleted = 0;
                 reference->exec("BEGIN");
                 const double seconds = timed([&] {
                     sqlite3_stmt* remove = reference->prepare("DELETE FROM Abstracts WHERE rowid = ?");
                     for (std::int64_t key : keys) {
                         sqlite3_bind_int64(remove, 1, key);
                         sqlite3_step(remove);
                         *referenceDeleted += sqlite3_changes(reference->handle());
                         sqlite3_reset(remove);
                     }
                     sqlite3_finalize(remove);
                 });
                 reference->exec("ROLLBACK");
                 return seconds;
             }},
            1.5});
    figure.agree = [=] {
        std::printf("  deleted per run: papyrant %lld, reference %lld\n", static_cast<long long>(*deleted),
            static_cast<long long>(*referenceDeleted));
        return *deleted > 0 && *deleted == *referenceDeleted;
    };
    return figure;
}

// The results screen's figures need a GUI application, so they run in a process of their own.
bool resultsBench(const QCommandLineParser& parser, int runs)
{
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationDirPath() + "/papyrant-results-bench",
        {"--program-folder", parser.value("program-folder"), "--data", parser.value("data"), "--records",
            parser.value("records"), "--runs", QString::number(runs)});
    return child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Times Papyrant's record store on generated bibliographies.");
    parser.addHelpOption();
    parser.addOption({"records", "records of the insert, scan, search and delete figures", "n", "100000"});
    parser.addOption({"large", "records of the large bibliography", "n", "1000000"});
    parser.addOption({"runs", "runs per figure (the median is judged)", "n", "5"});
    parser.addOption({"data", "folder for generated bibliographies (kept between runs)", "dir",
        QDir::tempPath() + "/papyrant-bench"});
    parser.addOption({"program-folder", "folder holding the template", "dir", PAPYRANT_PROGRAM_FOLDER});
    parser.addOption({"memory-probe", "(internal) measure one record set over this file", "file"});
    parser.addOption({"tagged-probe", "(internal) read this tagged export by its tags", "file"});
    parser.addOption({"export-probe", "(internal) measure one citation export in this format", "format"});
    parser.addOption({"only",
        "run only these figures: insert, open, memory, like, search, search-large, delete, entry, results, "
        "manage, maintenance, tagged, tag-maps, export, trigram, trigram-large",
        "names"});
    parser.process(app);
    if (parser.isSet("memory-probe"))
        return memoryProbe(parser.value("memory-probe"), parser.value("large").toInt());
    if (parser.isSet("tagged-probe"))
        return taggedReadingProbe(parser.value("tagged-probe"));
    const CitationExportBenchSettings exportSettings{
        parser.value("data"), parser.value("records").toInt(), parser.value("program-folder") + "/VarEdoRecors"};
    if (parser.isSet("export-probe"))
        return citationExportProbe(parser.value("export-probe"), exportSettings);

    const int runs = std::max(1, parser.value("runs").toInt());
    Bench bench(parser.value("program-folder"), parser.value("data"), parser.value("records").toInt(),
        parser.value("large").toInt());
    // Each figure is made only when it runs: making one may generate its bibliography.
    const std::vector<std::pair<QString, std::function<Figure()>>> figures{
        {"insert", [&] { return bench.insert(); }},
        {"open", [&] { return bench.openAndCount(); }},
        {"memory", [&] { return bench.recordSetMemory(); }},
        {"like", [&] { return bench.likeScan(); }},
        {"search", [&] { return bench.defaultSearch(bench.records(), 1.0, 1.0); }},
        {"search-large", [&] { return bench.defaultSearch(bench.large(), 0, 0.7); }},
        {"delete", [&] { return bench.deleteWhileWalking(); }},
    };
    const QStringList only = parser.values("only").join(',').split(',', Qt::SkipEmptyParts);
    bool allPassed = true;
    try {
        for (const auto& [key, make] : figures) {
            if (only.isEmpty() || only.contains(key))
                allPassed &= runFigure(make(), runs);
        }
        if (only.isEmpty() || only.contains("entry"))
            allPassed &= entryBench(parser.value("program-folder"), parser.value("data"), runs);
        if (only.isEmpty() || only.contains("tagged"))
            for (const Figure& figure : taggedReadingFigures(parser.value("data")))
                allPassed &= runFigure(figure, runs);
        // "tag-maps" alone runs just these: extraction by tag maps, storing included.
        if (only.isEmpty() || only.contains("tagged") || only.contains("tag-maps"))
            for (const Figure& figure : taggedExtractionFigures(parser.value("program-folder"), parser.value("data")))
                allPassed &= runFigure(figure, runs);
        if (only.isEmpty() || only.contains("results"))
            allPassed &= resultsBench(parser, runs);
        if (only.isEmpty() || only.contains("manage"))
            for (const Figure& figure : manageResultsFigures(
                     {parser.value("program-folder") + "/VarEdoRecors", parser.value("data"), bench.records()}))
                allPassed &= runFigure(figure, runs);
        if (only.isEmpty() || only.contains("maintenance"))
            for (const Figure& figure : maintenanceFigures({parser.value("program-folder") + "/VarEdoRecors",
                     parser.value("data"), parser.value("records").toInt()}))
                allPassed &= runFigure(figure, runs);
        // The index is built on a copy of the generated file: made with --only alone.
        for (const auto& [key, count] : {std::pair{QStringLiteral("trigram"), bench.records()},
                 std::pair{QStringLiteral("trigram-large"), bench.large()}}) {
            if (only.contains(key))
                for (const Figure& figure :
                    trigramFigures(QStringLiteral("%1/bench-%2.pyr").arg(parser.value("data")).arg(count)))
                    allPassed &= runFigure(figure, runs);
        }
        if (only.isEmpty() || only.contains("export"))
            for (const Figure& figure : citationExportFigures(exportSettings))
                allPassed &= runFigure(figure, runs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-bench: %s\n", e.what());
        return 2;
    }
    std::printf(allPassed ? "All targets met.\n" : "Some targets missed.\n");
    return allPassed ? 0 : 1;
}
