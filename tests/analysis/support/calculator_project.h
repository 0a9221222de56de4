#pragma once

#include "project/project_state.h"
#include "result_record.h"
#include "temp_folder.h"

#include <filesystem>
#include <string>

namespace zelmora::testing {

// A project folder for the test calculator: the calculator itself copied under a folder
// whose name contains blanks, a project "<folder>/slope.plx" with its data folder, and the
// settings that point to both.
class CalculatorProject {
public:
    CalculatorProject() {
        std::filesystem::create_directory(folder_ / "calculator dir");
        std::filesystem::copy_file(ZELMORA_FAKE_CALCULATOR, calculatorPath());
        std::filesystem::create_directory(dataFolder());
        State.BatchPath = calculatorPath();
        State.ProjectPath = folder_ / "slope.plx";
        State.ProjectName = "slope";
    }

    std::string calculatorPath() const { return folder_ / "calculator dir/fake calc"; }
    std::string dataFolder() const { return folder_ / "slope.dta"; }
    std::string dataFile(const std::string& name) const { return dataFolder() + "/" + name; }

    void WriteModel(const std::string& model) const {
        WriteWholeFile(dataFile("model.txt"), model);
    }
    std::string History() const { return ReadWholeFile(dataFile("history.txt")); }

private:
    TempFolder folder_;
};

} // namespace zelmora::testing
