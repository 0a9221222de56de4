#include "analysis/runs/in_place_executor.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/modification_reset.h"
#include "analysis/runs/calculator_wait.h"
#include "analysis/runs/run_attempt.h"
#include "analysis/workcopies/model_lock.h"
#include "processes/run_marker.h"

#include <deque>
#include <exception>
#include <stdexcept>
#include <unistd.h>

namespace zelmora {

namespace {

class InPlaceExecutor : public RunExecutor {
public:
    // A modification file left with reduced strengths by an analysis that was killed would be
    // the model the finite-element program shows: it is reset before anything else.
    InPlaceExecutor(ProcessSet& processes, const AnalysisInputs& inputs,
                    const std::string& startsIn, int consoleFd, const ExecutionControl& control)
        : lock_(inputs.projectPath), processes_(processes),
          control_(control), place_{inputs.batchCommandLine,
                                    inputs.modificationFilePath,
                                    inputs.resultFilePath,
                                    OpenLog(lock_, consoleFd),
                                    inputs.modificationFilePath,
                                    lock_.CalculatorLogPath(),
                                    {},
                                    startsIn,
                                    NewAnalysisName()},
          noModifications_(ModificationLines(inputs, StandardRun)) {
        if (ResetLeftModifications(place_.modificationPath) && control_.note) {
            control_.note("The modification file still held the values of an analysis that did "
                          "not end; it was reset to \"0\": " +
                          place_.modificationPath);
        }
    }

    void Submit(std::vector<PlannedRun> runs) override {
        if (control_.progress) {
            control_.progress->AddRuns(static_cast<int>(runs.size()));
        }
        queue_.insert(queue_.end(), runs.begin(), runs.end());
    }

    RunOutcome Next() override {
        if (queue_.empty()) {
            throw std::logic_error("no run left to perform");
        }
        const PlannedRun run = queue_.front();
        queue_.pop_front();
        const int number = started_++;
        if (control_.progress) {
            control_.progress->RunStarted(number);
        }
        RunAttempt attempt(run, place_, processes_);
        while (attempt.Running()) {
            if (const auto ended = WaitForCalculators(processes_, control_)) {
                // Read first: nothing the calculator left running writes into this run's result.
                attempt.Finish(ended->exitStatus);
                processes_.EndLeftovers(ended->handle);
            }
        }
        if (control_.progress) {
            control_.progress->RunEnded(number);
        }
        if (control_.runEnded) {
            control_.runEnded(run, attempt.Outcome());
        }
        return attempt.Outcome();
    }

    void Abandon() override { queue_.clear(); }

    // Nothing runs between two hand-backs here: only the queue goes.
    void Withdraw() override {
        if (control_.progress) {
            control_.progress->AddRuns(-static_cast<int>(queue_.size()));
        }
        queue_.clear();
    }

    ~InPlaceExecutor() override { CloseLog(); }

    // Whatever happened, the project is left without modifications; should this rewrite fail
    // after a failed analysis, the first failure is the one to report.
    void Finish(Ending ending) override {
        std::exception_ptr failure;
        try {
            WriteModificationFile(place_.modificationPath, noModifications_);
        } catch (...) {
            failure = std::current_exception();
        }
        CloseLog();
        if (ending == Ending::Succeeded) {
            lock_.Release();
        } else {
            lock_.ReleaseKeepingJournal();
        }
        if (failure && ending == Ending::Succeeded) {
            std::rethrow_exception(failure);
        }
    }

    std::string JournalPath() const override { return lock_.JournalPath(); }

    std::unique_ptr<WorkFolder> TakeWorkFolder() override { return lock_.Take(); }

private:
    // A log of our own where the lock keeps one, else the console the caller gave.
    static int OpenLog(ModelLock& lock, int consoleFd) {
        const int log = lock.OpenCalculatorLog();
        return log >= 0 ? log : consoleFd;
    }

    void CloseLog() {
        if (!place_.logPath.empty() && place_.outputFd >= 0) {
            ::close(place_.outputFd);
        }
        place_.outputFd = -1;
    }

    // Taken before anything is written, held until the project is left as it was.
    ModelLock lock_;
    ProcessSet& processes_;
    const ExecutionControl& control_;
    RunPlace place_;
    std::vector<std::string> noModifications_; // the standard run's file
    std::deque<PlannedRun> queue_;
    int started_ = 0;
};

} // namespace

std::unique_ptr<RunExecutor> MakeInPlaceExecutor(ProcessSet& processes,
                                                 const AnalysisInputs& inputs,
                                                 const std::string& startsIn, int consoleFd,
                                                 const ExecutionControl& control) {
    return std::make_unique<InPlaceExecutor>(processes, inputs, startsIn, consoleFd, control);
}

} // namespace zelmora
