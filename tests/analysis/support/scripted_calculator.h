#pragma once

#include "processes/process_runner.h"
#include "project/project_state.h"
#include "result_record.h"
#include "tests/support/file_bytes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelmora::testing {

// Plays the batch calculator in-process: each call notes the modification file it finds and
// leaves a result file with the next safety factor of its script (an empty entry leaves an
// empty file, calls beyond the script leave the file as it is).
class ScriptedCalculator {
public:
    explicit ScriptedCalculator(std::vector<std::string> factors) : factors_(std::move(factors)) {}

    ProcessRunner Runner() {
        return [this](const std::string& commandLine, std::uint16_t showMode) {
            return Run(commandLine, showMode);
        };
    }

    // Runs after the result file is written, with the 0-based call number; its value is the
    // exit status handed back.
    std::function<int(int call)> afterCall;

    std::vector<std::string> commandLines;
    std::vector<int> showModes;
    std::vector<std::string> modificationFiles;

private:
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

    std::vector<std::string> factors_;
};

} // namespace zelmora::testing
