#pragma once
// The output buttons of the "Results" tab: print, copy and save the viewed records (the
// page in the results box, or the text selected in it), "Save all", which builds every
// page of the result on the screen's tick driver and saves each to a file of its own, and
// "Export...", which writes the whole result to one citation file on the same driver.

#include "search/ResultFiles.h"

#include <QObject>

#include <functional>
#include <memory>

class QPrinter;
class QTextEdit;

namespace papyrant {

class Bibliography;
class DataBinding;
class ResultExport;
class ReportToolBar;
class ResultsTab;
class TickDriver;
struct ResultsState;

// Prints the box's selection when there is one, otherwise its whole page, with the
// page's colours.
void printViewedRecords(const QTextEdit& box, QPrinter& printer);

class OutputActions : public QObject {
    Q_OBJECT
public:
    // Answers the output buttons of the bar for the page the tab shows and, for "Save all",
    // for every page of the results in the binding, whose state gives their count and the
    // search's snapshot; "Save all" and "Export..." run on the screen's driver. The export
    // proposes the bibliography's name.
    OutputActions(ReportToolBar& bar, ResultsTab& tab, DataBinding& results, const ResultsState& state,
        TickDriver& ticks, const Bibliography& bibliography, QObject* parent = nullptr);
    ~OutputActions() override;

    // Where printing goes: the default printer; nothing when there is none.
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
    void setPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void print();
    void copy();
    void save();
    void saveAll();
    void exportResults();
    // The notice names the page "Save all" builds next.
    void showSavingNotice();

    ResultsTab& m_tab;
    DataBinding& m_results;
    const ResultsState& m_state;
    TickDriver& m_ticks;
    const Bibliography& m_bibliography;
    PrinterSource m_printerSource;
    std::unique_ptr<SaveAllRun> m_saveAll;
    std::unique_ptr<ResultExport> m_export;
};

} // namespace papyrant
