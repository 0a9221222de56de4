#include "analysis/runs/parallel_executor.h"

#include "analysis/coupling/batch_command_line.h"
#include "analysis/coupling/data_file_paths.h"
#include "analysis/runs/calculator_wait.h"
#include "analysis/runs/run_attempt.h"
#include "analysis/runs/run_errors.h"
#include "analysis/workcopies/work_folder.h"
#include "processes/run_marker.h"

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace zelmora {

namespace {

struct Worker {
    RunPlace place;
    std::optional<std::size_t> busyWith; // the plan index of its run
};

// Each worker calculates in its own copy of the project, so the user's project and its data
// folder are never written. Outcomes are handed back in plan order whatever order the runs
// end in.
class ParallelExecutor : public RunExecutor {
public:
    ParallelExecutor(ProcessSet& processes, int workers, const AnalysisInputs& inputs,
                     const std::string& startsIn, const ExecutionControl& control)
        : processes_(processes), control_(control), batchPath_(inputs.batchPath),
          projectName_(inputs.projectName), startsIn_(startsIn),
          folder_(std::make_unique<WorkFolder>(inputs.projectPath)) {
        try {
            for (int number = 1; number <= workers; ++number) {
                AddWorker(number);
            }
        } catch (...) {
            CloseLogs();
            folder_->RemoveCopies();
            throw;
        }
    }

    ParallelExecutor(const ParallelExecutor&) = delete;
    ParallelExecutor& operator=(const ParallelExecutor&) = delete;
    ~ParallelExecutor() override { CloseLogs(); }

    void Submit(std::vector<PlannedRun> runs) override {
        if (control_.progress) {
            control_.progress->AddRuns(static_cast<int>(runs.size()));
        }
        plan_.insert(plan_.end(), runs.begin(), runs.end());
    }

    RunOutcome Next() override {
        if (nextToHand_ >= plan_.size() || (firstFailure_ && nextToHand_ > *firstFailure_)) {
            throw std::logic_error("no run left to hand back");
        }
        while (!finished_.contains(nextToHand_)) {
            StartWhatMay();
            if (const auto ended = WaitForCalculators(processes_, control_)) {
                Collect(*ended);
            }
        }
        RunOutcome outcome = std::move(finished_.at(nextToHand_));
        finished_.erase(nextToHand_++);
        return outcome;
    }

    void Abandon() override {
        abandoned_ = true;
        while (!running_.empty()) {
            if (const auto ended = WaitForCalculators(processes_, control_)) {
                Collect(*ended);
            }
        }
    }

    void Withdraw() override {
        EndCalculators(processes_);
        for (std::size_t index = nextToHand_; index < nextToStart_; ++index) {
            if (control_.progress) {
                control_.progress->RunWithdrawn(static_cast<int>(index));
            }
        }
        if (control_.progress) {
            control_.progress->AddRuns(-static_cast<int>(plan_.size() - nextToStart_));
        }
        running_.clear();
        for (Worker& worker : workers_) {
            worker.busyWith.reset();
        }
        finished_.clear();
        plan_.resize(nextToHand_);
        nextToStart_ = nextToHand_;
        if (firstFailure_ && *firstFailure_ >= nextToHand_) {
            firstFailure_.reset();
        }
    }

    void Finish(Ending ending) override {
        CloseLogs();
        if (!folder_) {
            return;
        }
        if (ending == Ending::Failed) {
            kept_ = folder_->Path();
        } else if (ending == Ending::Stopped) {
            folder_->RemoveCopies();
        } else {
            folder_->Remove();
        }
    }

    std::string KeptWorkFolder() const override { return kept_; }

    std::string JournalPath() const override { return folder_ ? folder_->JournalPath() : ""; }

    std::unique_ptr<WorkFolder> TakeWorkFolder() override {
        CloseLogs();
        return std::move(folder_);
    }

private:
    struct Running {
        std::size_t index;
        Worker* worker;
        RunAttempt attempt;
    };

    void AddWorker(int number) {
        const std::string project = folder_->AddCopy(number, [this] { return StopAsked(); });
        const DataFiles reached = DataFilesOf(folder_->Reached(project), projectName_);
        logs_.push_back(folder_->OpenCalculatorLog(number));
        workers_.push_back(
            {{BatchCommandLine(batchPath_, project), reached.modification, reached.result,
              logs_.back(), DataFilesOf(project, projectName_).modification,
              folder_->Reached(folder_->CalculatorLogPath(number)), project, startsIn_, analysis_},
             std::nullopt});
    }

    // Between files and chunks of the copies: the windows repaint and a stop takes effect.
    bool StopAsked() const {
        if (control_.idle) {
            control_.idle();
        }
        return control_.stopRequested && control_.stopRequested();
    }

    bool MayStart(std::size_t index) const {
        return !abandoned_ && index < plan_.size() && (!firstFailure_ || index < *firstFailure_);
    }

    void StartWhatMay() {
        for (Worker& worker : workers_) {
            if (worker.busyWith || !MayStart(nextToStart_)) {
                continue;
            }
            const std::size_t index = nextToStart_++;
            if (control_.progress) {
                control_.progress->RunStarted(static_cast<int>(index));
            }
            RunAttempt attempt(plan_[index], worker.place, processes_);
            if (!attempt.Running()) {
                Record(index, attempt.Outcome());
                continue;
            }
            worker.busyWith = index;
            const int handle = attempt.Handle();
            running_.emplace(handle, Running{index, &worker, std::move(attempt)});
        }
    }

    void Collect(const ProcessSet::Ended& ended) {
        const auto found = running_.find(ended.handle);
        if (found == running_.end()) {
            return;
        }
        Running& run = found->second;
        // Read first: nothing the calculator left running writes into this run's result.
        run.attempt.Finish(ended.exitStatus);
        processes_.EndLeftovers(ended.handle);
        run.worker->busyWith.reset();
        Record(run.index, run.attempt.Outcome());
        running_.erase(found);
    }

    void Record(std::size_t index, const RunOutcome& outcome) {
        if (control_.progress) {
            control_.progress->RunEnded(static_cast<int>(index));
        }
        if (RunFailed(outcome) && !plan_[index].mayFail &&
            (!firstFailure_ || index < *firstFailure_)) {
            firstFailure_ = index;
        }
        if (control_.runEnded) {
            control_.runEnded(plan_[index], outcome);
        }
        finished_.emplace(index, outcome);
    }

    void CloseLogs() {
        for (const int fd : logs_) {
            ::close(fd);
        }
        logs_.clear();
    }

    ProcessSet& processes_;
    const ExecutionControl& control_;
    const std::string batchPath_;
    const std::string projectName_;
    const std::string startsIn_;
    const std::string analysis_ = NewAnalysisName();
    std::unique_ptr<WorkFolder> folder_; // taken by the caller after success
    std::vector<Worker> workers_;
    std::vector<int> logs_;
    std::vector<PlannedRun> plan_;
    std::map<std::size_t, RunOutcome> finished_;
    std::map<int, Running> running_; // by process handle
    std::size_t nextToStart_ = 0;
    std::size_t nextToHand_ = 0;
    std::optional<std::size_t> firstFailure_;
    bool abandoned_ = false;
    std::string kept_;
};

} // namespace

std::unique_ptr<RunExecutor> MakeParallelExecutor(ProcessSet& processes, int workers,
                                                  const AnalysisInputs& inputs,
                                                  const std::string& startsIn,
                                                  const ExecutionControl& control) {
    return std::make_unique<ParallelExecutor>(processes, workers, inputs, startsIn, control);
}

} // namespace zelmora
