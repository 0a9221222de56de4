#pragma once

#include "project/project_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <string>

namespace fault_tests {

// A project run by the fault calculator: one soil row with both kinds of variable, so every
// analysis makes five runs.
class FaultProject {
public:
    FaultProject() {
        std::filesystem::create_directory(dataFolder());
        test_support::WriteBytes(folder_.File("slope.plx"), "model\n");
        using namespace zelmora;
        State = ProjectState{};
        State.BatchPath = ZELMORA_FAULT_CALCULATOR;
        State.ProjectPath = folder_.File("slope.plx");
        State.ProjectName = "slope";
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
    }

    std::string dataFolder() const { return folder_.File("slope.dta"); }
    std::string dataFile(const std::string& name) const { return dataFolder() + "/" + name; }

    // Chooses the fault of the next analysis and counts its runs from 1 again.
    void SetBehaviour(const std::string& behaviour) const {
        test_support::WriteBytes(dataFile("behaviour"), behaviour);
        std::filesystem::remove(dataFile("runs"));
    }

private:
    test_support::TempFolder folder_;
};

} // namespace fault_tests
