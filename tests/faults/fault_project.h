#pragma once

#include "analysis/process_runner.h"
#include "project/project_state.h"
#include "tests/analysis/support/temp_folder.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace zelmora::testing {

// A project run by the fault calculator: one soil row with both kinds of variable, so every
// analysis makes five runs.
class FaultProject {
public:
    FaultProject() {
        std::filesystem::create_directory(dataFolder());
        State = ProjectState{};
        State.BatchPath = ZELMORA_FAULT_CALCULATOR;
        State.ProjectPath = folder_ / "slope.plx";
        State.ProjectName = "slope";
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
    }

    std::string dataFolder() const { return folder_ / "slope.dta"; }
    std::string dataFile(const std::string& name) const { return dataFolder() + "/" + name; }

    // Chooses the fault of the next analysis and counts its runs from 1 again.
    void SetBehaviour(const std::string& behaviour) const {
        WriteWholeFile(dataFile("behaviour"), behaviour);
        std::filesystem::remove(dataFile("runs"));
    }

private:
    TempFolder folder_;
};

inline int Execute(const std::string& commandLine, std::uint16_t showMode) {
    return ExecuteAndWait(commandLine, showMode);
}

} // namespace zelmora::testing
