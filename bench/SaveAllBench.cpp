#include "SaveAllBench.h"

#include "ResultsBenchSupport.h"

#include "core/Prompts.h"
#include "core/RecordSet.h"
#include "search/Presentation.h"
#include "search/ReportForm.h"
#include "search/ReportToolBar.h"
#include "search/ResultFiles.h"
#include "search/ResultsTab.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <stdexcept>

namespace papyrant::bench {

namespace {

// The save dialog names page.txt with the plain-text entry; anything else is a failure.
class SavingPrompts final : public Prompts {
public:
    explicit SavingPrompts(const QString& path)
        : m_path(path)
    {
    }
    int failures = 0;
    PromptButton message(const QString& text, const QString&, PromptButtons, PromptIcon, PromptButton) override
    {
        ++failures;
        std::fprintf(stderr, "  !! message: %s\n", qPrintable(text));
        return PromptButton::No;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<ChosenFile> saveFile(const QString&, const QString&, const QString&) override
    {
        const QFileInfo file(m_path);
        return ChosenFile{file.absoluteFilePath(), file.fileName(), file.absolutePath(), 2};
    }

private:
    QString m_path;
};

qint64 folderBytes(const QString& folder, int* files)
{
    qint64 bytes = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& entry : entries)
        bytes += entry.size();
    *files = static_cast<int>(entries.size());
    return bytes;
}

} // namespace

bool saveAllPages(const ResultsBenchSettings& settings, const QString& path)
{
    auto form = searchedScreen(settings, path, QString());
    ResultsTab& tab = *form->resultsTab();
    const int pages = tab.pageCount();
    std::printf("Save all of a %d-record result as plain text: %d pages, click to the viewed page shown again\n",
        form->resultsState().ResultCount, pages);
    std::fflush(stdout);
    QTemporaryDir ours(settings.dataFolder + QStringLiteral("/save-all-XXXXXX"));
    QTemporaryDir theirs(settings.dataFolder + QStringLiteral("/save-all-reference-XXXXXX"));
    if (!ours.isValid() || !theirs.isValid())
        throw std::runtime_error("cannot make the folders for the saved pages");
    SavingPrompts boxes(ours.filePath(QStringLiteral("page.txt")));
    Prompts& previous = prompts();
    setPrompts(&boxes);

    std::vector<double> screen, logic;
    int written = 0;
    qint64 bytes = 0;
    qint64 referenceBytes = 0;
    for (int run = 0; run < std::min(settings.runs, 3); ++run) {
        for (const QString& leaf : QDir(ours.path()).entryList(QDir::Files))
            QFile::remove(ours.filePath(leaf));
        QElapsedTimer timer;
        timer.start();
        form->toolBar()->button(ToolButton::SaveAll)->click();
        do
            waitUntilEnabled(*form);
        while (form->ticks().running() || form->busy().active());
        screen.push_back(milliseconds(timer));
        bytes = folderBytes(ours.path(), &written);

        // The reference: the same pages built by presentation and written by the same
        // writer, without the screen.
        RecordSet& records = *form->resultSet();
        const SearchSnapshot& page = form->resultsState().search;
        timer.restart();
        for (int p = 0; p < pages; ++p) {
            const PresentedPage shown = PresentPage(records, p, form->resultsState().ResultCount, page);
            const QString file = theirs.filePath(QStringLiteral("page%1.txt").arg(p + 1));
            if (writeResultFile(file, shown.text, {}, ResultFileKind::PlainText))
                throw std::runtime_error("the reference could not write " + file.toStdString());
        }
        logic.push_back(milliseconds(timer));
        int referenceFiles = 0;
        referenceBytes = folderBytes(theirs.path(), &referenceFiles);
    }
    setPrompts(&previous);
    std::printf("  files: %d of %d pages, %lld bytes (reference %lld bytes); %.1f ms a page\n", written, pages,
        static_cast<long long>(bytes), static_cast<long long>(referenceBytes), median(screen) / pages);
    return judge("Save all, presentation included", median(screen), "reference: presentation + writer, no screen",
               median(logic), 60000.0, false)
        && written == pages && bytes == referenceBytes && boxes.failures == 0;
}

} // namespace papyrant::bench
