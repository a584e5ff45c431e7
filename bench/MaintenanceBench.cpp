#include "MaintenanceBench.h"

#include "BibliographyGenerator.h"

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
#include <QProcess>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
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

double secondsOf(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

// The shell started on the file with one statement; its rows go to the null device.
double shellSeconds(const QString& path, const QString& sql, QString* output = nullptr)
{
    QProcess shell;
    if (!output)
        shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {path, sql});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        throw std::runtime_error("the sqlite3 shell failed: " + shell.readAllStandardError().toStdString());
    const double elapsed = secondsOf(timer);
    if (output)
        *output = QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
    return elapsed;
}

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
    return secondsOf(timer);
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

    const MaintenanceBenchSettings& m_settings;
};

MaintenanceFigure autoRemoveFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    MaintenanceFigure figure;
    figure.what = QStringLiteral("auto remove, %1 records with %2 exact pairs (Title, Abstract), 15 ms ticks")
                      .arg(settings.records)
                      .arg(settings.records / 10);
    const QString reading = QStringLiteral("select * from Abstracts order by TitelS;");
    figure.reference = reading;
    figure.limitSeconds = 2.0;
    figure.limitRatio = 3.0;
    const QString original = files.withRepeatedPairs();
    const QString work = files.path(QStringLiteral("maint-pairs-run.pyr"));
    std::int64_t deleted = 0;
    int ticks = 0;
    for (int run = 0; run < settings.runs; ++run) {
        copyFile(original, work);
        QElapsedTimer timer;
        timer.start();
        {
            Database db(work);
            AutoRemoveRun remove(db, defaultAutoRemoveFields());
            ticks = 1;
            while (!remove.step(TickBudget()))
                ++ticks;
            deleted = remove.deletedCount();
        }
        figure.ours.push_back(secondsOf(timer));
        figure.shell.push_back(shellSeconds(original, reading));
        figure.api.push_back(apiSeconds(original, reading));
    }
    QString left;
    shellSeconds(work, QStringLiteral("select count(*) from Abstracts;"), &left);
    figure.check = QStringLiteral("%1 deleted in %2 ticks, sqlite3 counts %3 left").arg(deleted).arg(ticks).arg(left);
    figure.checkPassed = deleted == settings.records / 10 && left.toLongLong() == settings.records - deleted;
    QFile::remove(work);
    return figure;
}

MaintenanceFigure findNextFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    MaintenanceFigure figure;
    figure.what = QStringLiteral("find next, %1 records without a pair, to the end").arg(settings.records);
    const QString reading = QStringLiteral("select Title from Abstracts order by TitelS;");
    figure.reference = reading;
    figure.limitSeconds = 1.0;
    const QString file = files.withoutPairs();
    BenchPrompts prompts;
    bool foundNone = true;
    for (int run = 0; run < settings.runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        DataBinding data(file);
        RepeatedPairReview review(data, prompts);
        review.findNext();
        figure.ours.push_back(secondsOf(timer));
        foundNone = foundNone && !review.actionsEnabled();
        figure.shell.push_back(shellSeconds(file, reading));
        figure.api.push_back(apiSeconds(file, reading));
    }
    figure.check = QStringLiteral("%1 end-of-records notices in %2 runs").arg(prompts.notices).arg(settings.runs);
    figure.checkPassed = foundNone && prompts.notices == settings.runs;
    return figure;
}

MaintenanceFigure renameFigure(const MaintenanceBenchSettings& settings, const Files& files)
{
    MaintenanceFigure figure;
    figure.what
        = QStringLiteral("rename a category of %1 of %2 records").arg(settings.records / 2).arg(settings.records);
    figure.reference = QStringLiteral("the same Update, back and forth");
    figure.limitSeconds = 1.0;
    const QString file = files.withoutPairs();
    ProgramState state;
    state.BibPath = file;
    BenchPrompts prompts;
    const QString other = QStringLiteral("Reviewed");
    QString counted;
    for (int run = 0; run < settings.runs; ++run) {
        prompts.inputs.push_back(other);
        QElapsedTimer timer;
        timer.start();
        const CleanupOutcome outcome = papyrant::renameCategory(state, prompts, Files::ReviewsCategory, {});
        figure.ours.push_back(secondsOf(timer));
        if (!outcome.changed)
            throw std::runtime_error("the category was not renamed");
        if (run == 0)
            shellSeconds(file, QStringLiteral("select count(*) from Abstracts where Category = 'Reviewed';"), &counted);
        // The shell names it back, the C API away and back again, so every side renames
        // the same 50,000 records and the next run starts from "Reviews" once more.
        const QString back = QStringLiteral("Update Abstracts SET Category = 'Reviews' Where Category = 'Reviewed';");
        figure.shell.push_back(shellSeconds(file, back));
        figure.api.push_back(
            apiSeconds(file, QStringLiteral("Update Abstracts SET Category = 'Reviewed' Where Category = 'Reviews';")));
        apiSeconds(file, back);
    }
    figure.check = QStringLiteral("sqlite3 counts %1 records renamed").arg(counted);
    figure.checkPassed = counted.toInt() == settings.records / 2;
    return figure;
}

void printRuns(const char* side, const QString& what, const std::vector<double>& samples)
{
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    std::printf(
        "  %-6s min %7.3f  median %7.3f  max %7.3f s  (%s)\n", side, *low, median(samples), *high, qPrintable(what));
}

} // namespace

std::vector<MaintenanceFigure> measureMaintenance(const MaintenanceBenchSettings& settings)
{
    const Files files(settings);
    return {autoRemoveFigure(settings, files), findNextFigure(settings, files), renameFigure(settings, files)};
}

bool reportMaintenance(const std::vector<MaintenanceFigure>& figures)
{
    bool allHeld = true;
    for (const MaintenanceFigure& figure : figures) {
        std::printf("Maintenance: %s\n", qPrintable(figure.what));
        printRuns("ours", QStringLiteral("Papyrant"), figure.ours);
        printRuns("shell", QStringLiteral("sqlite3 shell: ") + figure.reference, figure.shell);
        printRuns("C API", QStringLiteral("in this process: ") + figure.reference, figure.api);
        std::printf("  found: %s%s\n", qPrintable(figure.check), figure.checkPassed ? "" : "  !! unexpected");
        const double ours = median(figure.ours);
        const bool fast = ours <= figure.limitSeconds;
        std::printf(
            "  => median seconds %8.3f (target <= %.3f)  %s\n", ours, figure.limitSeconds, fast ? "PASS" : "FAIL");
        bool close = true;
        if (figure.limitRatio > 0) {
            const double ratio = ours / median(figure.shell);
            close = ratio <= figure.limitRatio;
            std::printf("  => ratio ours / shell (medians) %8.3f (target <= %.3f)  %s\n", ratio, figure.limitRatio,
                close ? "PASS" : "FAIL");
        } else {
            std::printf("  => ratio ours / shell (medians) %8.3f (shown only)\n", ours / median(figure.shell));
        }
        std::printf("  => ratio ours / C API (medians) %8.3f (shown only)\n", ours / median(figure.api));
        allHeld = allHeld && fast && close && figure.checkPassed;
    }
    return allHeld;
}

} // namespace papyrant::bench
