#pragma once

#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <string>

// The two-row slope the command-line tests analyse with the fake calculator: its model file and
// data folder in `folder`, and the project file `projectFile` that names them, as the state.
inline void WriteSlopeProject(const test_support::TempFolder& folder,
                              const std::string& projectFile) {
    using namespace zelmora;
    std::filesystem::create_directory(folder.File("slope.dta"));
    test_support::WriteBytes(folder.File("slope.plx"), "model\n");
    State = ProjectState{};
    State.BatchPath = ZELMORA_FAKE_CALCULATOR;
    State.ProjectPath = folder.File("slope.plx");
    State.ProjectName = "slope";
    State.StepSize = 0.5;
    Row(State, 1) = {1, 30, 3, 10, 2};
    Row(State, 2) = {2, 25, 2, 5, 1};
    WriteProjectFile(projectFile);
}
