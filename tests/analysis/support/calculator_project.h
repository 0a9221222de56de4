#pragma once

#include "project/project_state.h"
#include "result_record.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <string>

namespace zelmora::testing {

// A project folder for the test calculator: the calculator itself copied under a folder
// whose name contains blanks, a model "<folder>/slope.plx" with its data folder, and the
// settings that point to both.
class CalculatorProject {
public:
    CalculatorProject() {
        std::filesystem::create_directory(folder_.File("calculator dir"));
        std::filesystem::copy_file(ZELMORA_FAKE_CALCULATOR, calculatorPath());
        std::filesystem::create_directory(dataFolder());
        test_support::WriteBytes(folder_.File("slope.plx"), "model\n");
        Reset();
    }

    // Points the settings at this project again.
    void Reset() const { PointAt(State); }

    // Points a project's settings at this one.
    void PointAt(ProjectState& project) const {
        project.BatchPath = calculatorPath();
        project.ProjectPath = folder_.File("slope.plx");
        project.ProjectName = "slope";
    }

    std::string calculatorPath() const { return folder_.File("calculator dir/fake calc"); }
    std::string dataFolder() const { return folder_.File("slope.dta"); }
    std::string dataFile(const std::string& name) const { return dataFolder() + "/" + name; }

    void WriteModel(const std::string& model) const {
        test_support::WriteBytes(dataFile("model.txt"), model);
    }
    std::string History() const { return test_support::ReadBytes(dataFile("history.txt")); }

private:
    test_support::TempFolder folder_;
};

} // namespace zelmora::testing
