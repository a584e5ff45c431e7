#pragma once
// What the "Manage results" tab does to every record of the current results: give them a
// category, copy them into another bibliography, delete them all. The copy and the
// deletion run on the screen's tick driver, the tab's bar and line showing how far they
// are; an engine error stops them with its description, keeping what was committed.
// All three run on the driver, each showing its progress. When another program changed the
// bibliography since the search, they touch only records that still meet it and say how
// many they passed over.

#include <QObject>

#include <cstdint>
#include <memory>

namespace papyrant {

class DataBinding;
class ManageTab;
class ResultCategoryRun;
class ResultCopy;
class ResultDeletion;
class TickDriver;
struct ResultsState;
struct StepOutcome;

class ManageActions : public QObject {
    Q_OBJECT
public:
    // Answers the buttons of the tab for the results of the binding (the screen's result
    // set), whose state gives their count; runs go on the screen's driver.
    ManageActions(
        ManageTab& tab, DataBinding& results, const ResultsState& state, TickDriver& ticks, QObject* parent = nullptr);
    ~ManageActions() override;

signals:
    // "Do" gave every result the category.
    void categoryAssigned(const QString& category);
    // Records of the results were deleted (some or all): the set holds keys of deleted rows.
    void recordsDeleted();

private:
    void assignCategory();
    void categoryEnded(const QString& category);
    void reportSkipped(std::int64_t skipped);
    void copyResults();
    void copyEnded(const StepOutcome& outcome);
    void deleteAll();
    void deletionEnded(const StepOutcome& outcome);

    ManageTab& m_tab;
    DataBinding& m_results;
    const ResultsState& m_state;
    TickDriver& m_ticks;
    std::unique_ptr<ResultCategoryRun> m_category;
    std::unique_ptr<ResultCopy> m_copy;
    std::unique_ptr<ResultDeletion> m_deletion;
};

} // namespace papyrant
