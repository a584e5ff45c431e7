#pragma once
// What the "Manage results" tab does to every record of the current results: give them
// a category, copy them into another bibliography, delete them all. The copy and the
// deletion run in timer ticks with the screen busy, the bar and the line showing how far
// they are; an engine error stops them with its description, keeping what was committed.

#include "screens/BatchTimer.h"

#include <QObject>

#include <memory>

namespace papyrant {

class ReportForm;
class ResultCopy;
class ResultDeletion;

class ManageActions : public QObject {
    Q_OBJECT
public:
    // Answers the buttons of the form's manage tab.
    explicit ManageActions(ReportForm& form);
    ~ManageActions() override;

    bool running() const { return m_timer.running(); }

private:
    void assignCategory();
    void newCategory();
    void copyResults();
    void copyEnded(BatchState state);
    void deleteAll();
    void deletionEnded(BatchState state);

    ReportForm& m_form;
    BatchTimer m_timer; // Timer4 and Timer5: one run at a time
    std::unique_ptr<ResultCopy> m_copy;
    std::unique_ptr<ResultDeletion> m_deletion;
};

} // namespace papyrant
