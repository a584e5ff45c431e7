// papyrant-bench: times the record store on generated bibliographies, side by side with
// the sqlite3 shell doing the same work, and prints each figure with its target.

#include "BibliographyGenerator.h"
#include "ManageResultsBench.h"

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "search/QueryComposition.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace papyrant;
using namespace papyrant::bench;

namespace {

struct Figures {
    double min = 0, median = 0, max = 0;
};

Figures summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2], samples.back()};
}

Figures timeRuns(int runs, const std::function<double()>& run)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(run());
    return summarise(samples);
}

double seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void report(const char* name, const Figures& ours, const char* unit)
{
    std::printf("  %-34s min %9.3f  median %9.3f  max %9.3f %s\n", name, ours.min, ours.median, ours.max, unit);
}

bool verdict(const char* what, double value, double limit)
{
    const bool ok = value <= limit;
    std::printf("  => %-40s %8.3f (target <= %.3f)  %s\n", what, value, limit, ok ? "PASS" : "FAIL");
    return ok;
}

class Bench {
public:
    Bench(QString programFolder, QString dataFolder, int records, int large, int runs)
        : m_template(programFolder + "/VarEdoRecors")
        , m_data(std::move(dataFolder))
        , m_records(records)
        , m_large(large)
        , m_runs(runs)
    {
        QDir().mkpath(m_data);
    }

    bool insert();
    bool openAndCount();
    bool recordSetMemory();
    bool likeScan();
    bool defaultSearch();

private:
    QString freshCopy(const QString& name) const;
    QString filled(int count); // a bibliography of count records, made once and kept
    void fill(const QString& path, int count, BibliographyGenerator& generator) const;
    double shellSeconds(const QString& database, const QString& script) const;
    double shellQuerySeconds(const QString& database, const QString& sql, QString* output) const;

    QString m_template;
    QString m_data;
    int m_records;
    int m_large;
    int m_runs;
};

long residentKilobytes();
int memoryProbe(const QString& path, int expected);

QString Bench::freshCopy(const QString& name) const
{
    const QString path = m_data + "/" + name;
    QFile::remove(path);
    if (!QFile::copy(m_template, path))
        throw std::runtime_error("cannot copy the template " + m_template.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void Bench::fill(const QString& path, int count, BibliographyGenerator& generator) const
{
    Database db(path);
    Database::Transaction batch(db);
    RecordSet table(db, "Abstracts");
    for (int i = 0; i < count; ++i) {
        const GeneratedRecord record = generator.next();
        table.addNew();
        for (int c = 0; c < 13; ++c)
            table.setValue(c, record[c]);
        table.update();
    }
    batch.commit();
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

double Bench::shellSeconds(const QString& database, const QString& script) const
{
    QProcess shell;
    shell.setStandardInputFile(script);
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start("sqlite3", {database});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        throw std::runtime_error("the sqlite3 shell failed: " + shell.readAllStandardError().toStdString());
    return seconds(timer);
}

double Bench::shellQuerySeconds(const QString& database, const QString& sql, QString* output) const
{
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start("sqlite3", {database, sql});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        throw std::runtime_error("the sqlite3 shell failed: " + shell.readAllStandardError().toStdString());
    const double elapsed = seconds(timer);
    if (output)
        *output = QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
    return elapsed;
}

bool Bench::insert()
{
    std::printf("Insert %d generated records (one transaction each side)\n", m_records);
    BibliographyGenerator generator;
    const std::vector<GeneratedRecord> records = generator.make(m_records);

    const QString script = m_data + "/insert.sql";
    {
        QFile file(script);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QTextStream out(&file);
        out << "BEGIN;\n";
        for (const auto& record : records) {
            out << "INSERT INTO Abstracts VALUES(";
            for (int c = 0; c < 13; ++c)
                out << (c ? "," : "") << sqlLiteral(record[c]);
            out << ");\n";
        }
        out << "COMMIT;\n";
    }
    const Figures ours = timeRuns(m_runs, [&] {
        const QString path = freshCopy("insert-ours.pyr");
        QElapsedTimer timer;
        timer.start();
        Database db(path);
        Database::Transaction batch(db);
        RecordSet table(db, "Abstracts");
        for (const auto& record : records) {
            table.addNew();
            for (int c = 0; c < 13; ++c)
                table.setValue(c, record[c]);
            table.update();
        }
        batch.commit();
        return seconds(timer);
    });
    const Figures shell = timeRuns(m_runs, [&] { return shellSeconds(freshCopy("insert-shell.pyr"), script); });
    report("papyrant RecordSet addNew/update", ours, "s");
    report("sqlite3 shell, INSERT script", shell, "s");
    QFile::remove(script);
    return verdict("ratio papyrant / shell (median)", ours.median / shell.median, 2.0);
}

bool Bench::openAndCount()
{
    std::printf("Open a %d-record bibliography and refresh its count\n", m_large);
    const QString path = filled(m_large);
    QString line;
    const Figures figures = timeRuns(m_runs, [&] {
        ProgramState state;
        QElapsedTimer timer;
        timer.start();
        state.BibPath = path;
        state.BibName = bibliographyName(QFileInfo(path).fileName());
        line = refreshRecordCount(state);
        return seconds(timer);
    });
    report("open + record-count refresh", figures, "s");
    std::printf("  status line: %s\n", qPrintable(line));
    return verdict("median seconds", figures.median, 0.5);
}

bool compareCounts(int ours, const QString& shell)
{
    std::printf("  matches: papyrant %d, shell %s\n", ours, qPrintable(shell));
    if (QString::number(ours) == shell)
        return true;
    std::printf("  !! the two scans disagree\n");
    return false;
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

bool Bench::recordSetMemory()
{
    std::printf("Resident memory of a RecordSet over %d rows (each run a fresh process)\n", m_large);
    const QString path = filled(m_large);
    std::vector<double> grown;
    for (int i = 0; i < m_runs; ++i) {
        QProcess probe;
        probe.start(
            QCoreApplication::applicationFilePath(), {"--memory-probe", path, "--large", QString::number(m_large)});
        if (!probe.waitForFinished(-1) || probe.exitCode() != 0)
            throw std::runtime_error("the memory probe failed: " + probe.readAllStandardError().toStdString());
        const QStringList kilobytes = QString::fromUtf8(probe.readAllStandardOutput()).split(' ');
        const long before = kilobytes.value(0).toLong();
        const long after = kilobytes.value(1).toLong();
        std::printf("  run %d: resident %ld kB before, %ld kB after\n", i + 1, before, after);
        grown.push_back((after - before) / 1024.0);
    }
    const Figures figures = summarise(grown);
    report("resident growth", figures, "MB");
    return verdict("median MB", figures.median, 64.0);
}

bool Bench::likeScan()
{
    std::printf("One Like '* word *' scan over Title, Keywords and Abstract of %d records\n", m_records);
    const QString path = filled(m_records);
    const QString word = BibliographyGenerator::searchWord();
    const QString ours = QStringLiteral("Select Abstracts.* From Abstracts Where (Abstracts.Title Like '* %1 *') or "
                                        "(Abstracts.Keywords Like '* %1 *') or (Abstracts.Abstract Like '* %1 *')")
                             .arg(word);
    const QString builtIn = QStringLiteral("SELECT count(*) FROM Abstracts WHERE (Title LIKE '%% %1 %%') or "
                                           "(Keywords LIKE '%% %1 %%') or (Abstract LIKE '%% %1 %%');")
                                .arg(word);
    int ourCount = 0;
    QString shellCount;
    Database db(path);
    const Figures mine = timeRuns(m_runs, [&] {
        QElapsedTimer timer;
        timer.start();
        RecordSet found(db, ours);
        ourCount = found.recordCount();
        return seconds(timer);
    });
    const Figures shell = timeRuns(m_runs, [&] { return shellQuerySeconds(path, builtIn, &shellCount); });
    report("papyrant Like", mine, "s");
    report("sqlite3 shell, built-in LIKE", shell, "s");
    const bool sameRows = compareCounts(ourCount, shellCount);
    return verdict("ratio papyrant / shell (median)", mine.median / shell.median, 1.5) && sameRows;
}

bool Bench::defaultSearch()
{
    const QString word = BibliographyGenerator::searchWord();
    std::printf(
        "Default one-word search (\"%s\" in Title, Keywords, Abstract) on %d records\n", qPrintable(word), m_records);
    const QString path = filled(m_records);
    Database db(path);
    int ourCount = 0;
    QString statement;
    const Figures mine = timeRuns(m_runs, [&] {
        QElapsedTimer timer;
        timer.start();
        CriteriaRows rows;
        rows[0].words = word;
        statement = ComposeQuery(rows, SearchOptions{});
        RecordSet found(db, statement);
        ourCount = found.recordCount();
        return seconds(timer);
    });
    // The same nine patterns with the shell's own LIKE and wildcard.
    QString where;
    for (const char* column : {"Title", "Keywords", "Abstract"}) {
        if (!where.isEmpty())
            where += " or ";
        where += QStringLiteral("(%1 LIKE '%% %2 %%' or %1 LIKE '%2 %%' or %1 LIKE '%% %2')").arg(column, word);
    }
    QString shellCount;
    const Figures shell = timeRuns(m_runs,
        [&] { return shellQuerySeconds(path, "SELECT count(*) FROM Abstracts WHERE " + where + ";", &shellCount); });
    report("papyrant compose + run to count", mine, "s");
    report("sqlite3 shell, built-in LIKE", shell, "s");
    const bool sameRows = compareCounts(ourCount, shellCount);
    const bool fast = verdict("median seconds to the count", mine.median, 1.0);
    const bool close = verdict("ratio papyrant / shell (median)", mine.median / shell.median, 1.5);
    return sameRows && fast && close;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Times Papyrant's record store on generated bibliographies.");
    parser.addHelpOption();
    parser.addOption({"records", "records of the insert and scan figures", "n", "100000"});
    parser.addOption({"large", "records of the large bibliography", "n", "1000000"});
    parser.addOption({"runs", "runs per figure (the median is judged)", "n", "5"});
    parser.addOption({"data", "folder for generated bibliographies (kept between runs)", "dir",
        QDir::tempPath() + "/papyrant-bench"});
    parser.addOption({"program-folder", "folder holding the template", "dir", PAPYRANT_PROGRAM_FOLDER});
    parser.addOption({"memory-probe", "(internal) measure one record set over this file", "file"});
    parser.addOption({"only", "run only these figures: insert, open, memory, like, search, manage", "names"});
    parser.process(app);
    if (parser.isSet("memory-probe"))
        return memoryProbe(parser.value("memory-probe"), parser.value("large").toInt());

    Bench bench(parser.value("program-folder"), parser.value("data"), parser.value("records").toInt(),
        parser.value("large").toInt(), std::max(1, parser.value("runs").toInt()));
    const QStringList only = parser.values("only").join(',').split(',', Qt::SkipEmptyParts);
    auto wanted = [&](const char* name) { return only.isEmpty() || only.contains(QLatin1String(name)); };
    bool allPassed = true;
    try {
        if (wanted("insert"))
            allPassed &= bench.insert();
        if (wanted("open"))
            allPassed &= bench.openAndCount();
        if (wanted("memory"))
            allPassed &= bench.recordSetMemory();
        if (wanted("like"))
            allPassed &= bench.likeScan();
        if (wanted("search"))
            allPassed &= bench.defaultSearch();
        if (wanted("manage"))
            allPassed
                &= manageResultsBench({parser.value("program-folder") + "/VarEdoRecors", parser.value("data"),
                                          parser.value("records").toInt(), std::max(1, parser.value("runs").toInt())})
                       .targetsMet;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-bench: %s\n", e.what());
        return 2;
    }
    std::printf(allPassed ? "All targets met.\n" : "Some targets missed.\n");
    return allPassed ? 0 : 1;
}
