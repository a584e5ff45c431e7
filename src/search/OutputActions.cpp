#include "search/OutputActions.h"

#include "core/Bibliography.h"
#include "core/DataBinding.h"
#include "core/Prompts.h"
#include "screens/TickDriver.h"
#include "search/ReportToolBar.h"
#include "search/ResultExport.h"
#include "search/ResultsState.h"
#include "search/ResultsTab.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QTextEdit>
#include <QToolButton>

namespace papyrant {

namespace {

const QString NotPrinted = QStringLiteral("The viewed records could not be printed.\n");

std::unique_ptr<QPrinter> defaultPrinter()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
}

} // namespace

void printViewedRecords(const QTextEdit& box, QPrinter& printer)
{
    printer.setPrintRange(box.textCursor().hasSelection() ? QPrinter::Selection : QPrinter::AllPages);
    box.print(&printer);
}

OutputActions::OutputActions(ReportToolBar& bar, ResultsTab& tab, DataBinding& results, const ResultsState& state,
    TickDriver& ticks, const Bibliography& bibliography, QObject* parent)
    : QObject(parent)
    , m_tab(tab)
    , m_results(results)
    , m_state(state)
    , m_ticks(ticks)
    , m_bibliography(bibliography)
    , m_printerSource(defaultPrinter)
{
    connect(bar.button(ToolButton::Print), &QToolButton::clicked, this, &OutputActions::print);
    connect(bar.button(ToolButton::Copy), &QToolButton::clicked, this, &OutputActions::copy);
    connect(bar.button(ToolButton::Save), &QToolButton::clicked, this, &OutputActions::save);
    connect(bar.button(ToolButton::SaveAll), &QToolButton::clicked, this, &OutputActions::saveAll);
    connect(bar.button(ToolButton::Export), &QToolButton::clicked, this, &OutputActions::exportResults);
    // The copy button says what it would copy as the mouse comes over it.
    bar.button(ToolButton::Copy)->setMouseTracking(true);
    bar.button(ToolButton::Copy)->installEventFilter(this);
}

OutputActions::~OutputActions() = default;

bool OutputActions::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::ToolTip) {
        static_cast<QWidget*>(watched)->setToolTip(
            copyToolTip(m_tab.resultsBox()->textCursor().hasSelection(), m_tab.chosenPageText()));
    }
    return QObject::eventFilter(watched, event);
}

void OutputActions::print()
{
    const std::unique_ptr<QPrinter> printer = m_printerSource();
    if (!printer) {
        prompts().notice(NotPrinted + QStringLiteral("There is no default printer."));
        return;
    }
    printViewedRecords(*m_tab.resultsBox(), *printer);
    if (printer->printerState() == QPrinter::Error)
        prompts().notice(NotPrinted + QStringLiteral("The printer %1 reported an error.").arg(printer->printerName()));
}

void OutputActions::copy()
{
    const QString selected = m_tab.selectedPageText();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? m_tab.pageText() : selected);
}

void OutputActions::save()
{
    saveViewedRecords(
        prompts(), m_state.search.summary, m_tab.pageCount(), m_tab.chosenPage(), m_tab.pageText(), m_tab.pageMarks());
}

void OutputActions::saveAll()
{
    if (!m_results.hasRecordset() || m_ticks.running())
        return;
    const std::optional<SaveAllFiles> files = chooseSaveAllFiles(prompts(), m_state.search.summary, m_tab.pageCount());
    if (!files)
        return;
    // Every page is built afresh, the one viewed too, so every file shows the records as
    // they are now. The viewed page stands aside meanwhile and comes back unchanged.
    m_saveAll = std::make_unique<SaveAllRun>(m_results.recordset(), m_state.ResultCount, m_state.search, *files);
    m_tab.resultsBox()->hide();
    showSavingNotice();
    m_ticks.start(*m_saveAll,
        {nullptr, FileNotSaved, [this] { showSavingNotice(); },
            [this](const StepOutcome&) {
                m_saveAll.reset();
                m_tab.resultsBox()->show();
            }});
}

void OutputActions::exportResults()
{
    if (!m_results.hasRecordset() || m_ticks.running())
        return;
    const std::optional<ChosenFile> file = chooseExportFile(prompts(), m_bibliography.BibName());
    if (!file)
        return;
    try {
        m_export = std::make_unique<ResultExport>(
            m_results.database(), m_results.recordset().rowKeys(), citationFormat(file->filterIndex), file->fullPath);
    } catch (const std::exception& error) {
        reportWorkFailure(FileNotSaved, errorText(error));
        return;
    }
    QProgressBar* bar = m_tab.exportProgress();
    bar->show();
    m_ticks.start(*m_export, {bar, FileNotSaved, {}, [this, bar](const StepOutcome&) {
                                  bar->hide();
                                  m_export.reset();
                              }});
}

void OutputActions::showSavingNotice()
{
    const int next = m_saveAll->progress().done;
    if (next < m_tab.pageCount())
        m_tab.setNotice(pageNotice(m_tab.pageBox()->itemText(next), true));
}

} // namespace papyrant
