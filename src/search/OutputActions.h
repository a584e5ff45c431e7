#pragma once
// The output buttons of the "Results" tab: print, copy and save the viewed records (the
// page in the results box, or the text selected in it), and "Save all", which lets
// presentation show page after page and saves each as it comes.

#include "search/ResultFiles.h"

#include <QObject>

#include <functional>
#include <memory>

class QPrinter;
class QTextEdit;

namespace papyrant {

class ReportForm;

// Prints the box's selection when there is one, otherwise its whole page, with the
// page's colours.
void printViewedRecords(const QTextEdit& box, QPrinter& printer);

class OutputActions : public QObject {
    Q_OBJECT
public:
    // Answers the output buttons of the form's tool bar.
    explicit OutputActions(ReportForm& form);
    ~OutputActions() override;

    // Where printing goes: the default printer; nothing when there is none.
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
    void setPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }

    // A page could not be built while "Save all" ran: the run is over, and the page viewed
    // before is shown again.
    void saveAllInterrupted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void print();
    void copy();
    void save();
    void saveAll();
    void savingPagePresented();
    void returnToViewedPage();

    ReportForm& m_form;
    PrinterSource m_printerSource;
    SaveAllRun m_saveAll;
};

} // namespace papyrant
