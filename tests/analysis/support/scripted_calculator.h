#pragma once

#include "analysis/analysis_driver.h"
#include "processes/process_set.h"
#include "project/project_state.h"
#include "result_record.h"
#include "tests/support/file_bytes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelmora::testing {

// Plays the batch calculator in-process: each call notes the modification file it finds and
// leaves a result file with the next safety factor of its script (an empty entry leaves an
// empty file, calls beyond the script leave the file as it is).
class ScriptedCalculator {
public:
    explicit ScriptedCalculator(std::vector<std::string> factors) : factors_(std::move(factors)) {}

    // The process set an analysis starts this calculator through: a start plays one call at
    // once, and its process counts as ended, in the order started.
    std::unique_ptr<ProcessSet> Processes();

    // Runs after the result file is written, with the 0-based call number; its value is the
    // exit status handed back.
    std::function<int(int call)> afterCall;

    std::vector<std::string> commandLines;
    std::vector<int> showModes;
    std::vector<std::string> modificationFiles;

    // One call, as the analysis starts the calculator: with the show mode 1.
    int Run(const std::string& commandLine, std::uint16_t showMode) {
        const std::size_t call = commandLines.size();
        commandLines.push_back(commandLine);
        showModes.push_back(showMode);
        modificationFiles.push_back(test_support::ReadBytes(State.ModificationFilePath));
        if (call < factors_.size()) {
            const std::string& factor = factors_[call];
            test_support::WriteBytes(State.ResultFilePath,
                                     factor.empty() ? "" : ResultRecord(factor));
        }
        return afterCall ? afterCall(static_cast<int>(call)) : 0;
    }

private:
    std::vector<std::string> factors_;
};

class ScriptedProcesses : public ProcessSet {
public:
    explicit ScriptedProcesses(ScriptedCalculator& calculator) : calculator_(calculator) {}

    int Start(const std::string& commandLine, int /*outputFd*/, const std::string& /*startsIn*/,
              const std::string& /*runMarker*/) override {
        const int status = calculator_.Run(commandLine, 1);
        if (status == -1) {
            return -1;
        }
        ended_.push_back({++lastHandle_, status});
        return lastHandle_;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds /*timeout*/) override {
        if (ended_.empty()) {
            return std::nullopt;
        }
        const Ended first = ended_.front();
        ended_.erase(ended_.begin());
        return first;
    }

    void SignalAll(int /*signal*/) override {}
    int RunningCount() const override { return static_cast<int>(ended_.size()); }
    void EndLeftovers(int /*handle*/) override {}
    void EndAllLeftovers() override {}

private:
    ScriptedCalculator& calculator_;
    std::vector<Ended> ended_;
    int lastHandle_ = 0;
};

inline std::unique_ptr<ProcessSet> ScriptedCalculator::Processes() {
    return std::make_unique<ScriptedProcesses>(*this);
}

// The analysis in place with the scripted calculator and the default options.
inline void AnalyseInPlace(CalculationLog& log, ScriptedCalculator& calculator) {
    const std::unique_ptr<ProcessSet> processes = calculator.Processes();
    AnalysisRecord record;
    RunAnalysis(log, *processes, AnalysisOptions{}, record);
}

} // namespace zelmora::testing
