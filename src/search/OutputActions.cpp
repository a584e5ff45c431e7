#include "search/OutputActions.h"

#include "core/Prompts.h"
#include "search/ReportForm.h"
#include "search/ReportToolBar.h"
#include "search/ResultsTab.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
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

OutputActions::OutputActions(ReportForm& form)
    : m_form(form)
    , m_printerSource(defaultPrinter)
{
    ReportToolBar* bar = form.toolBar();
    connect(bar->button(ToolButton::Print), &QToolButton::clicked, this, &OutputActions::print);
    connect(bar->button(ToolButton::Copy), &QToolButton::clicked, this, &OutputActions::copy);
    connect(bar->button(ToolButton::Save), &QToolButton::clicked, this, &OutputActions::save);
    connect(bar->button(ToolButton::SaveAll), &QToolButton::clicked, this, &OutputActions::saveAll);
    connect(&form, &ReportForm::savingPagePresented, this, &OutputActions::savingPagePresented);
    // The copy button says what it would copy as the mouse comes over it.
    bar->button(ToolButton::Copy)->setMouseTracking(true);
    bar->button(ToolButton::Copy)->installEventFilter(this);
}

OutputActions::~OutputActions() = default;

bool OutputActions::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::ToolTip) {
        const ResultsTab& tab = *m_form.resultsTab();
        static_cast<QWidget*>(watched)->setToolTip(
            copyToolTip(tab.resultsBox()->textCursor().hasSelection(), tab.chosenPageText()));
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
    printViewedRecords(*m_form.resultsTab()->resultsBox(), *printer);
    if (printer->printerState() == QPrinter::Error)
        prompts().notice(NotPrinted + QStringLiteral("The printer %1 reported an error.").arg(printer->printerName()));
}

void OutputActions::copy()
{
    const ResultsTab& tab = *m_form.resultsTab();
    const QString selected = tab.selectedPageText();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? tab.pageText() : selected);
}

void OutputActions::save()
{
    const ResultsTab& tab = *m_form.resultsTab();
    saveViewedRecords(prompts(), m_form.resultsState().search.summary, tab.pageCount(), tab.chosenPage(),
        tab.pageText(), tab.pageMarks());
}

void OutputActions::saveAll()
{
    ResultsTab& tab = *m_form.resultsTab();
    if (!m_saveAll.start(prompts(), m_form.resultsState().search.summary, tab.pageCount(), tab.chosenPage()))
        return;
    ResultsState& state = m_form.resultsState();
    state.SavingAll = true;
    // The first page is built afresh too, even when it is the one viewed: every file then
    // shows the records as they are now.
    state.ShownPage = -1;
    tab.choosePage(0);
}

void OutputActions::savingPagePresented()
{
    ResultsTab& tab = *m_form.resultsTab();
    const SaveAllRun::Next next
        = m_saveAll.pageShown(prompts(), tab.chosenPage(), tab.pageCount(), tab.pageText(), tab.pageMarks());
    if (next.kind == SaveAllRun::Next::ShowPage) {
        tab.choosePage(next.page);
        return;
    }
    // Finished, or failed and reported.
    m_form.busy().leave();
    returnToViewedPage();
}

void OutputActions::saveAllInterrupted()
{
    m_saveAll.clear();
    returnToViewedPage();
}

void OutputActions::returnToViewedPage()
{
    ResultsState& state = m_form.resultsState();
    state.SavingAll = false;
    // The box has stood still during the run: the page viewed before is shown afresh.
    state.ShownPage = -1;
    m_form.resultsTab()->choosePage(m_saveAll.SaveAllReturnPage);
}

} // namespace papyrant
