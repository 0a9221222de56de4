#include "analysis/runs/journaled_executor.h"

namespace zelmora {

void JournaledExecutor::Submit(std::vector<PlannedRun> runs) {
    std::vector<PlannedRun> toRun;
    int reused = 0;
    for (PlannedRun& run : runs) {
        queue_.push_back(journal_.Reused(run));
        if (queue_.back()) {
            queue_.back()->reused = true;
            ++reused;
        } else {
            toRun.push_back(std::move(run));
        }
    }
    if (progress_ && reused > 0) {
        progress_->AddReusedRuns(reused);
    }
    executor_.Submit(std::move(toRun));
}

RunOutcome JournaledExecutor::Next() {
    if (queue_.empty()) {
        return executor_.Next();
    }
    std::optional<RunOutcome> reused = std::move(queue_.front());
    queue_.pop_front();
    return reused ? std::move(*reused) : executor_.Next();
}

void JournaledExecutor::Abandon() {
    queue_.clear();
    executor_.Abandon();
}

void JournaledExecutor::Withdraw() {
    queue_.clear();
    executor_.Withdraw();
}

} // namespace zelmora
