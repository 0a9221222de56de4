// Inputs that cannot give an honest result are refused before any calculator starts and
// before anything is written, in place and in copies alike.
#include "analysis/analysis_driver.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using testing::CalculatorProject;

struct Refusal {
    const char* name;
    std::function<void(const CalculatorProject&)> change;
    std::function<std::string(const CalculatorProject&)> message;
    Method method = Method::FirstOrder;
    StrengthDistribution strengths = StrengthDistribution::Normal;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

std::string Text(const char* text) {
    return text;
}

const Refusal Refusals[] = {
    {"step 0", [](auto&) { State.StepSize = 0; },
     [](auto&) { return Text("The step size must be a finite number above 0, not 0.0000."); }},
    {"negative step", [](auto&) { State.StepSize = -1; },
     [](auto&) {
         return Text("The step size must be a finite number above 0, not \u22121.0000.");
     }},
    {"infinite step", [](auto&) { State.StepSize = std::numeric_limits<double>::infinity(); },
     [](auto&) { return Text("The step size must be a finite number above 0, not +Inf."); }},
    {"step too small", [](auto&) { State.StepSize = 1e-9; },
     [](auto&) {
         return Text("The step size 0.0000 is too small: lowered by it, the friction angle of row "
                     "2 (set 7) is written the same as its mean (0.5000).");
     }},
    {"cohesion deviation below the written decimals",
     [](auto&) { Row(State, 2).CohesionStdDev = 0.00004; },
     [](auto&) {
         return Text("Row 2: the standard deviation of c (4.000E-0005) is below the four decimals "
                     "a modification file writes: lowered by it, the cohesion of row 2 (set 7) is "
                     "written the same as its mean (10.0000).");
     }},
    // 1e17 − 0.5 · 2 rounds back to 1e17 in 64 bits.
    {"cohesion mean too large", [](auto&) { Row(State, 2).CohesionMean = 1e17; },
     [](auto&) {
         return Text("Row 2: the mean of c (1.000E+0017) is too large for the four decimals a "
                     "modification file writes: lowered by it, the cohesion of row 2 (set 7) is "
                     "written the same as its mean (100000000000000000.0000).");
     }},
    {"negative phi deviation", [](auto&) { Row(State, 2).PhiStdDev = -3; },
     [](auto&) {
         return Text("Row 2: the standard deviation of \u03c6 is negative (\u22123.0000).");
     }},
    {"negative cohesion deviation", [](auto&) { Row(State, 3).CohesionStdDev = -0.25; },
     [](auto&) { return Text("Row 3: the standard deviation of c is negative (\u22120.2500)."); }},
    {"no random variable",
     [](auto&) {
         Row(State, 2) = {7, 30, 0, 10, 0};
     },
     [](auto&) {
         return Text("There is no random variable: no row has a standard deviation above 0.");
     }},
    {"model missing", [](auto&) { fs::remove(State.ProjectPath); },
     [](auto&) { return "The model file does not exist: " + State.ProjectPath; }},
    {"model a folder",
     [](auto&) {
         fs::remove(State.ProjectPath);
         fs::create_directory(State.ProjectPath);
     },
     [](auto&) { return "The model file is not a regular file: " + State.ProjectPath; }},
    {"data folder missing", [](const CalculatorProject& p) { fs::remove_all(p.dataFolder()); },
     [](const CalculatorProject& p) {
         return "The model's data folder does not exist: " + p.dataFolder();
     }},
    {"calculator missing", [](auto&) { State.BatchPath += "x"; },
     [](auto&) { return "The batch calculator cannot be found: " + State.BatchPath; }},
    {"calculator not executable",
     [](const CalculatorProject& p) { State.BatchPath = p.dataFile("model.txt"); },
     [](auto&) { return "The batch calculator is not an executable file: " + State.BatchPath; }},
    {"calculator not in the search path", [](auto&) { State.BatchPath = "no-such-calculator"; },
     [](auto&) {
         return "The batch calculator no-such-calculator cannot be found in the folders of the "
                "search path: " +
                std::string(std::getenv("PATH"));
     }},
    // The calculator would read no modification file: every run would be of the mean model.
    {"project name not the model's", [](auto&) { State.ProjectName = "Slope"; },
     [](auto&) {
         return Text("The project name Slope is not the model file's name slope: the calculator "
                     "would read no modification file, so every run would be of the unmodified "
                     "model.");
     }},
    {"project name echoed at most 200 characters",
     [](auto&) { State.ProjectName = std::string(10 << 20, 'n') + "\x1b"; },
     [](auto&) {
         return "The project name " + std::string(200, 'n') +
                "\u2026 is not the model file's name slope: the calculator would read no "
                "modification file, so every run would be of the unmodified model.";
     }},
    // sin 30° − 12 sin 3° = −0.1280; asin(sin 30° / 12) = 2.3880°.
    {"a phi deviation that takes the sine below 0", [](auto&) { State.StepSize = 12; },
     [](auto&) {
         return Text("Row 2: lowered by the step size 12.0000, the sine of \u03c6 would be "
                     "\u22120.1280, below 0; with this step the standard deviation of \u03c6 can "
                     "be at most 2.3880, not 3.0000.");
     }},
    // sin 88° + 0.5 sin 0.0665° = 0.99997 is below 1, but written "1.0000".
    {"Taylor's raised sine 1 as written",
     [](auto&) {
         Row(State, 2) = {7, 88, 0.0665, 10, 0};
     },
     [](auto&) {
         return Text("Taylor series: raised by the step, the friction angle of row 2 (set 7) "
                     "would be written as a sine of 1.0000, and a sine must stay below 1; a "
                     "smaller step size keeps it so.");
     },
     Method::Taylor},
    {"FORM's lognormal strength of mean 0", [](auto&) { Row(State, 2).CohesionMean = 0; },
     [](auto&) {
         return Text("FORM: a lognormal strength needs a mean above 0: the cohesion of row 2 "
                     "(set 7)");
     },
     Method::Form, StrengthDistribution::Lognormal},
};

class AnalysisChecks : public ::testing::TestWithParam<Refusal> {
protected:
    void SetUp() override {
        State = ProjectState{};
        project_.Reset();
        test_support::WriteBytes(State.ProjectPath, "model\n");
        project_.WriteModel("base 0.4\nterm 7 3 1.4 0.5\nterm 7 4 0.02 10\n");
        State.StepSize = 0.5;
        Row(State, 2) = {7, 30, 3, 10, 2};
    }

    CalculatorProject project_;
};

TEST_P(AnalysisChecks, AreRefusedBeforeAnyRunWithAMessageNamingWhat) {
    const Refusal& refusal = GetParam();
    refusal.change(project_);
    const std::string message = refusal.message(project_);
    Entry(State.SafetyFactors, 0) = 1.25;
    for (const int parallelRuns : {1, 3}) {
        SCOPED_TRACE("parallel runs " + std::to_string(parallelRuns));
        test_support::MemoryLog log;
        AnalysisOptions options;
        options.parallelRuns = parallelRuns;
        options.method = refusal.method;
        options.strengths = refusal.strengths;
        AnalysisRecord record;
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        try {
            RunAnalysis(log, *processes, options, record);
            ADD_FAILURE() << "not refused";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(record.error, message);
        EXPECT_TRUE(record.outcomes.empty());
        EXPECT_FALSE(fs::exists(project_.dataFile("history.txt"))) << "a calculator ran";
        EXPECT_FALSE(fs::exists(project_.dataFile("slope.mmt")));
        EXPECT_FALSE(fs::exists(State.ProjectPath + ".runs"));
        EXPECT_EQ(Entry(State.SafetyFactors, 0), 1.25);
        EXPECT_EQ(log.lines, std::vector<std::string>{"Zelmora"});
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, AnalysisChecks, ::testing::ValuesIn(Refusals),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 }
                             }
                             return name;
                         });

} // namespace
} // namespace zelmora
