#pragma once

#include "analysis/runs/run_executor.h"
#include "analysis/runs/run_journal.h"

#include <deque>
#include <optional>

namespace zelmora {

// Hands back the journaled outcome of every run the journal holds, in its place among the
// others, and leaves only the rest to the executor it wraps: so every kind of run, first-order
// or a method's, is reused the same way.
class JournaledExecutor : public RunExecutor {
public:
    JournaledExecutor(RunExecutor& executor, const RunJournal& journal, ProgressMeter* progress)
        : executor_(executor), journal_(journal), progress_(progress) {}

    void Submit(std::vector<PlannedRun> runs) override;
    RunOutcome Next() override;
    void Abandon() override;
    void Withdraw() override;
    void Finish(Ending ending) override { executor_.Finish(ending); }
    std::string KeptWorkFolder() const override { return executor_.KeptWorkFolder(); }
    std::string JournalPath() const override { return executor_.JournalPath(); }
    std::unique_ptr<WorkFolder> TakeWorkFolder() override { return executor_.TakeWorkFolder(); }

private:
    RunExecutor& executor_;
    const RunJournal& journal_;
    ProgressMeter* progress_;
    std::deque<std::optional<RunOutcome>> queue_; // nothing: the executor's next outcome
};

} // namespace zelmora
