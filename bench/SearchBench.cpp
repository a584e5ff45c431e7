#include "SearchBench.h"
#include "BenchFiles.h"

#include "ResultsBenchSupport.h"
#include "SaveAllBench.h"

#include "BibliographyGenerator.h"

#include "core/Bibliography.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "core/RecordSet.h"
#include "search/CriteriaGrid.h"
#include "search/EditTab.h"
#include "search/Presentation.h"
#include "search/ReportForm.h"
#include "search/ResultsTab.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace papyrant::bench {

namespace {

// Any box during a figure means something failed: it is printed and counted.
class CountingPrompts final : public Prompts {
public:
    int shown = 0;
    PromptButton message(const QString& text, const QString&, PromptButtons, PromptIcon, PromptButton) override
    {
        ++shown;
        std::fprintf(stderr, "  !! message: %s\n", qPrintable(text));
        return PromptButton::Ok;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> saveFile(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double milliseconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void waitUntilEnabled(QWidget& screen)
{
    // A search over a large file goes on in ticks with the screen itself enabled.
    const auto* form = qobject_cast<const ReportForm*>(&screen);
    while (!screen.isEnabled() || (form && form->searching()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool judge(const char* what, double ours, const char* reference, double theirs, double limit, bool ratio)
{
    std::printf("  %-46s median %9.2f ms\n", what, ours);
    std::printf("  %-46s median %9.2f ms\n", reference, theirs);
    const double value = ratio ? ours / theirs : ours;
    const bool ok = value <= limit;
    std::printf("  => %-43s %8.2f (target <= %.2f%s)  %s\n", ratio ? "ratio (medians)" : "median ms", value, limit,
        ratio ? "" : " ms", ok ? "PASS" : "FAIL");
    return ok;
}

QString copyOf(const QString& path, const QString& leaf)
{
    const QString copy = QFileInfo(path).absolutePath() + QLatin1Char('/') + leaf;
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        throw std::runtime_error("cannot copy " + path.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

// A bibliography of `count` generated records, made once and kept in the data folder.
QString generatedBibliography(const ResultsBenchSettings& settings, int count)
{
    const QString path = QStringLiteral("%1/results-%2.pyr").arg(settings.dataFolder).arg(count);
    if (QFile::exists(path + QStringLiteral(".complete")) && QFile::exists(path))
        return path;
    std::printf("  (generating %d records into %s)\n", count, qPrintable(path));
    std::fflush(stdout);
    removeBibliography(path);
    if (!QFile::copy(settings.programFolder + QStringLiteral("/VarEdoRecors"), path))
        throw std::runtime_error("cannot copy the template");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    BibliographyGenerator generator;
    Database db(path);
    for (int made = 0; made < count; made += 20000)
        appendGenerated(db, std::min(20000, count - made), generator);
    QFile(path + QStringLiteral(".complete")).open(QIODevice::WriteOnly);
    return path;
}

Bibliography& openBibliography(const ResultsBenchSettings& settings, const QString& path)
{
    ProgramState& state = programState();
    state = ProgramState{};
    state.initialiseAtStart(settings.programFolder);
    // A screen made before keeps its own share of the connection it had.
    static Bibliography bibliography;
    bibliography.open(path, QFileInfo(path).completeBaseName());
    return bibliography;
}

namespace {

bool pageWithMarks(const ResultsBenchSettings& settings, const QString& path)
{
    std::printf("A page of 50 records with references and ten highlight words, into the results box\n");
    Database db(path);
    RecordSet records(db, QStringLiteral("Select Abstracts.* From Abstracts"));
    SearchSnapshot page;
    page.options.outputFields = {true, true, true, true, true, false, true, true, true, true, false, true};
    page.options.createReferences = true;
    page.summary = QStringLiteral("protein");
    const QStringList words{"gene", "cell", "protein", "virus", "cancer", "immune", "risk", "brain", "heart", "study"};
    for (int i = 0; i < CriteriaRowCount; ++i)
        page.highlightWords[i] = words[i];
    ResultsTab tab;
    tab.resize(1000, 760);
    tab.show();
    QTextEdit& box = *tab.resultsBox();
    std::vector<double> ours, plain, wholeLayout, plainLayout;
    std::size_t marks = 0;
    qsizetype characters = 0;
    for (int run = 0; run < std::max(settings.runs, 9); ++run) {
        QElapsedTimer timer;
        timer.start();
        const PresentedPage shown = PresentPage(records, run, records.recordCount(), page);
        box.hide();
        tab.showPage(shown);
        box.show();
        box.repaint();
        ours.push_back(milliseconds(timer));
        box.document()->documentLayout()->documentSize();
        wholeLayout.push_back(milliseconds(timer));
        marks = shown.marks.size();
        characters = shown.text.size();

        // The same text without marks: what the box alone costs.
        box.clear();
        timer.restart();
        box.hide();
        box.setPlainText(shown.text);
        box.show();
        box.repaint();
        plain.push_back(milliseconds(timer));
        box.document()->documentLayout()->documentSize();
        plainLayout.push_back(milliseconds(timer));
    }
    // The user waits for the whole page, not its first screenful: the figure is the page
    // laid out to its end.
    std::printf("  (%lld characters, %zu marks a page; first painted: %.2f ms, plain %.2f ms)\n",
        static_cast<long long>(characters), marks, median(ours), median(plain));
    return judge("build + marks + into the box, laid out", median(wholeLayout),
        "reference: the same text set plain, laid out", median(plainLayout), 50.0, false);
}

// A results screen over the bibliography after a search for `words` (nothing: every record).
} // namespace

std::unique_ptr<ReportForm> searchedScreen(
    const ResultsBenchSettings& settings, const QString& path, const QString& words)
{
    auto form = std::make_unique<ReportForm>(openBibliography(settings, path));
    form->resize(1000, 760);
    form->show();
    form->criteria()->wordsBox(0)->setText(words);
    form->Search();
    waitUntilEnabled(*form);
    return form;
}

namespace {

bool farPage(const ResultsBenchSettings& settings, const QString& path)
{
    std::printf(
        "Choosing a page of a %d-record result (page choice to the page shown, screen enabled)\n", settings.records);
    auto form = searchedScreen(settings, path, QString());
    QComboBox* pages = form->resultsTab()->pageBox();
    const int far = std::min(999, pages->count() - 1);
    auto choose = [&](int index) {
        QElapsedTimer timer;
        timer.start();
        pages->setCurrentIndex(index);
        waitUntilEnabled(*form);
        return milliseconds(timer);
    };
    std::vector<double> ours, near;
    for (int run = 0; run < std::max(settings.runs, 9); ++run) {
        near.push_back(choose(1));
        ours.push_back(choose(far));
    }
    std::printf(
        "  (%s, record no. %d last on it)\n", qPrintable(pages->itemText(far)), form->resultsState().PresentedRecordNo);
    return judge(qPrintable(QStringLiteral("page %1").arg(far + 1)), median(ours), "reference: page 2", median(near),
        100.0, false);
}

bool searchToFirstPage(const ResultsBenchSettings& settings, const QString& path)
{
    const QString word = BibliographyGenerator::searchWord();
    std::printf("Search pressed to the first page shown: \"%s\", default options, %d records\n", qPrintable(word),
        settings.records);
    auto form = searchedScreen(settings, path, word); // also warms the file
    // SQLite's built-in LIKE finding the word anywhere in the searched columns, through
    // the C API in this process, the same way the sqlite3 shell runs it. The whole-word
    // search finds a part of those records.
    const QByteArray counted = QStringLiteral("SELECT count(*) FROM Abstracts WHERE Title LIKE '%%%1%%' or "
                                              "Keywords LIKE '%%%1%%' or Abstract LIKE '%%%1%%'")
                                   .arg(word)
                                   .toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* count = nullptr;
    if (sqlite3_prepare_v2(db, counted.constData(), -1, &count, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    int referenceCount = 0;
    std::vector<double> ours, reference;
    for (int run = 0; run < settings.runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        form->criteria()->searchButton()->click();
        waitUntilEnabled(*form);
        ours.push_back(milliseconds(timer));
        timer.restart();
        sqlite3_step(count);
        referenceCount = sqlite3_column_int(count, 0);
        sqlite3_reset(count);
        reference.push_back(milliseconds(timer));
    }
    sqlite3_finalize(count);
    sqlite3_close(db);
    const int found = form->resultsState().ResultCount;
    std::printf("  matches: papyrant %d whole words, SQLite %d anywhere\n", found, referenceCount);
    return judge("Search to the first page", median(ours), "reference: C API count(*), built-in LIKE '%word%'",
               median(reference), 1.3, true)
        && found > 0 && found <= referenceCount;
}

bool removals(const ResultsBenchSettings& settings, const QString& path)
{
    constexpr int Removed = 1000;
    constexpr int Rounds = 10;
    std::printf("Removing %d records one by one from a %d-record result (both sides in turns of %d)\n", Removed,
        settings.records, Removed / Rounds);
    std::vector<double> ours, capi;
    for (int run = 0; run < std::min(settings.runs, 3); ++run) {
        const QString mine = copyOf(path, QStringLiteral("results-removing.pyr"));
        const QString reference = copyOf(path, QStringLiteral("results-deleting.pyr"));
        auto form = searchedScreen(settings, mine, QString());
        form->tabs()->setCurrentIndex(ReportForm::EditResults);
        auto* removeButton = form->editTab()->findChild<QToolButton*>(QStringLiteral("CommandRemove"));
        // The same rows on the other side: the first of the set each time, rowids 1 ... 1000.
        sqlite3* db = nullptr;
        sqlite3_open_v2(reference.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* remove = nullptr;
        sqlite3_prepare_v2(db, "DELETE FROM Abstracts WHERE rowid = ?", -1, &remove, nullptr);
        double oursMs = 0;
        double capiMs = 0;
        // Taking turns, so a busy spell of the shared disk falls on both sides alike.
        for (int round = 0; round < Rounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < Removed / Rounds; ++i)
                removeButton->click();
            oursMs += milliseconds(timer);
            timer.restart();
            for (int i = 0; i < Removed / Rounds; ++i) {
                sqlite3_bind_int64(remove, 1, round * (Removed / Rounds) + i + 1);
                if (sqlite3_step(remove) != SQLITE_DONE)
                    throw std::runtime_error(sqlite3_errmsg(db));
                sqlite3_reset(remove);
            }
            capiMs += milliseconds(timer);
        }
        sqlite3_finalize(remove);
        sqlite3_close(db);
        if (form->resultsState().ResultCount != settings.records - Removed)
            throw std::runtime_error("the removals did not all happen");
        ours.push_back(oursMs);
        capi.push_back(capiMs);
        form.reset();
        QFile::remove(mine);
        QFile::remove(reference);
    }
    return judge("Remove current record, 1000 times", median(ours), "reference: C API, 1000 single-row DELETEs",
        median(capi), 2.0, true);
}

} // namespace

bool runResultsBench(const ResultsBenchSettings& settings)
{
    CountingPrompts boxes;
    Prompts* previous = nullptr;
    try {
        previous = &prompts();
    } catch (const std::logic_error&) {
    }
    setPrompts(&boxes);
    const QString path = generatedBibliography(settings, settings.records);
    const std::vector<std::pair<QString, bool (*)(const ResultsBenchSettings&, const QString&)>> figures{
        {"page", pageWithMarks}, {"far-page", farPage}, {"search", searchToFirstPage}, {"removals", removals},
        {"save-all", saveAllPages}};
    bool passed = true;
    for (const auto& [name, figure] : figures) {
        if (settings.only.isEmpty() || settings.only.contains(name))
            passed &= figure(settings, path);
    }
    setPrompts(previous);
    if (boxes.shown > 0)
        std::printf("  !! %d message boxes came up during the figures\n", boxes.shown);
    return passed && boxes.shown == 0;
}

} // namespace papyrant::bench
