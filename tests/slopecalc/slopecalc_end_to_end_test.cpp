#include "analysis/analysis_driver.h"
#include "analysis/coupling/result_file.h"
#include "processes/process_runner.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace slopecalc {
namespace {

namespace fs = std::filesystem;

// A copy of an example under a path with a blank, with its data folder.
class CopiedExample {
public:
    explicit CopiedExample(const std::string& example, const std::string& stem = "my slope") {
        model_ = folder_.File(stem + ".plx");
        fs::copy_file(testing::ExamplePath(example), model_);
        fs::create_directory(folder_.File(stem + ".dta"));
        data_ = folder_.File(stem + ".dta/" + stem);
    }

    const std::string& Model() const { return model_; }
    std::string Data(const std::string& extension) const { return data_ + extension; }
    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    test_support::TempFolder folder_;
    std::string model_;
    std::string data_;
};

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Through the shell, which splits the unquoted path at its blank as the system's runner does.
Outcome RunThroughShell(const CopiedExample& example, const std::string& arguments) {
    const std::string out = example.File("out.txt");
    const std::string err = example.File("err.txt");
    const int status = std::system(
        (std::string(SLOPECALC_PROGRAM) + " " + arguments + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_support::ReadBytes(out),
            test_support::ReadBytes(err)};
}

// The factor of the file's last whole record, 0 without one; its errors are raised.
double ReadFactor(const std::string& path) {
    const zelmora::ResultReading reading = zelmora::ReadResultFile(path);
    for (const std::exception_ptr& error : {reading.openError, reading.readError}) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
    return reading.safetyFactor.value_or(0);
}

TEST(SlopecalcProgram, RunByTheProcessRunnerWritesTheResultOfItsModel) {
    const CopiedExample example("homogeneous.plx");
    test_support::WriteBytes(example.Data(".hxx"), "an earlier result\r\n");
    const int status =
        zelmora::ExecuteAndWait(std::string(SLOPECALC_PROGRAM) + " " + example.Model() + " /c", 1);
    EXPECT_EQ(status, 0);
    const double expected = Analyse(testing::LoadExample("homogeneous.plx")).back().best.factor;
    EXPECT_EQ(ReadFactor(example.Data(".hxx")), expected);
    EXPECT_NE(test_support::ReadBytes(example.Data(".svg")).find("F = 0.985"), std::string::npos);
    EXPECT_FALSE(fs::exists(example.Data(".hxx.tmp")));
}

TEST(SlopecalcProgram, AppliesTheModificationFileAndReportsIt) {
    const CopiedExample example("homogeneous.plx");
    test_support::WriteBytes(example.Data(".mmt"), "1\r\n1 1 4  10.0000\r\n");
    const Outcome outcome = RunThroughShell(example, example.Model() + " /c");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("modifications: 1"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("set 1: cohesion 10.0000"), std::string::npos) << outcome.out;
    Model stronger = testing::LoadExample("homogeneous.plx");
    stronger.materials.at(1).cohesion = 10;
    EXPECT_EQ(ReadFactor(example.Data(".hxx")), Analyse(stronger).back().best.factor);
}

// Two slices asked for, but the ground's corners at the toe and the crest make three pieces.
TEST(SlopecalcProgram, TheSummaryShowsTheSearchLimitsAndTheSlicesCut) {
    const CopiedExample example("homogeneous.plx");
    test_support::WriteBytes(example.Model(), test_support::ReadBytes(example.Model()) +
                                                  "search entry 55 70 exit 10 28\nslices 2\n");
    const Outcome outcome = RunThroughShell(example, example.Model() + " /c");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    for (const char* line : {"\nsearch limits: entry x 55.000 to 70.000, exit x 10.000 to 28.000\n",
                             "\nslices: 3 (2 asked, one at least between two breaks), on the "}) {
        EXPECT_NE(outcome.out.find(line), std::string::npos) << line << outcome.out;
    }
    EXPECT_NE(test_support::ReadBytes(example.Data(".hxx")).find("\r\nslices: 3, Bishop"),
              std::string::npos);
}

TEST(SlopecalcProgram, AFailedRunLeavesNoResultAndNamesTheFault) {
    struct Case {
        const char* mmt; // nullptr: a broken model instead
        const char* message;
    };
    const Case cases[] = {
        {nullptr, "my slope.plx: line 6: unknown keyword \"bedrok\""},
        {"1\r\n1 9 4  10.0000\r\n", "my slope.mmt: line 2: unknown set 9"},
    };
    for (const Case& c : cases) {
        const CopiedExample example("homogeneous.plx");
        if (c.mmt) {
            test_support::WriteBytes(example.Data(".mmt"), c.mmt);
        } else {
            std::string text = test_support::ReadBytes(example.Model());
            text.replace(text.find("bedrock"), 7, "bedrok");
            test_support::WriteBytes(example.Model(), text);
        }
        test_support::WriteBytes(example.Data(".hxx"), "an earlier result\r\n");
        test_support::WriteBytes(example.Data(".svg"), "an earlier picture");
        const Outcome outcome = RunThroughShell(example, example.Model() + " /c");
        EXPECT_NE(outcome.status, 0) << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_FALSE(fs::exists(example.Data(".hxx"))) << c.message;
        EXPECT_FALSE(fs::exists(example.Data(".svg"))) << c.message;
    }
}

TEST(SlopecalcProgram, AMissingDataFolderIsReportedBeforeTheCalculation) {
    const CopiedExample example("homogeneous.plx");
    fs::remove(example.File("my slope.dta"));
    const Outcome outcome = RunThroughShell(example, example.Model() + " /c");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("my slope.dta/ does not exist"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

TEST(SlopecalcProgram, PrintsUsageForHelpAndRefusesOtherCalls) {
    const CopiedExample example("homogeneous.plx");
    const Outcome help = RunThroughShell(example, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: slopecalc MODEL /c\n", 0), 0u) << help.out;
    const Outcome bad = RunThroughShell(example, example.Model());
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, help.out);
}

TEST(SlopecalcProgram, PrintsItsNameAndTheProjectVersion) {
    const CopiedExample example("homogeneous.plx");
    const Outcome version = RunThroughShell(example, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "slopecalc " SLOPECALC_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

// What help2man reads: "Usage:" and "  or:" lines, a description, then sections whose entries
// are indented by two blanks with their text in a column.
TEST(SlopecalcProgram, HelpIsLaidOutForAManPageGenerator) {
    const CopiedExample example("homogeneous.plx");
    const std::string help = RunThroughShell(example, "--help").out;
    EXPECT_EQ(help.rfind("Usage: slopecalc MODEL /c\n"
                         "  or:  slopecalc --help\n"
                         "  or:  slopecalc --version\n"
                         "Compute ",
                         0),
              0u)
        << help;
    const std::size_t options = help.find("\nOptions:\n");
    ASSERT_NE(options, std::string::npos) << help;
    for (const char* entry : {"  /c         calculate", "  --help     display this help and exit",
                              "  --version  output version information and exit"}) {
        EXPECT_NE(help.find(std::string("\n") + entry, options), std::string::npos) << entry;
    }
    EXPECT_NE(help.find("\nExit status:\n  0  "), std::string::npos) << help;
    // Every statement of the model file, its arguments in the column of the descriptions.
    const std::size_t model = help.find("\nModel file statements, ");
    ASSERT_NE(model, std::string::npos) << help;
    for (const KeywordForm& form : KeywordForms) {
        const std::string entry = "\n  " + std::string(form.keyword);
        const std::size_t at = help.find(entry + " ", model);
        ASSERT_NE(at, std::string::npos) << form.keyword;
        EXPECT_EQ(help.find_first_not_of(' ', at + entry.size()) - at - 1, 23u) << form.keyword;
    }
}

// Skips where help2man is not installed; scripts/package needs it for the man pages.
TEST(SlopecalcProgram, Help2manMakesAManPageOfHelpAndVersion) {
    if (std::system("command -v help2man >/dev/null") != 0) {
        GTEST_SKIP() << "help2man is not installed";
    }
    const CopiedExample example("homogeneous.plx");
    const std::string page = example.File("slopecalc.1");
    ASSERT_EQ(std::system(("help2man --no-info --name=calculator " +
                           std::string(SLOPECALC_PROGRAM) + " >" + page)
                              .c_str()),
              0);
    const std::string text = test_support::ReadBytes(page);
    const std::string title = "\"slopecalc " + std::string(SLOPECALC_VERSION) + "\"";
    for (const std::string& part :
         {title, std::string(".SH SYNOPSIS\n.B slopecalc\n"),
          std::string(".SH DESCRIPTION\nCompute "), std::string(".SH OPTIONS\n"),
          std::string("\\fB\\-\\-version\\fR\noutput version"), std::string(".SS \"Exit status:\""),
          std::string(".SS \"Model file statements, "), std::string(".TP\nwater_unit_weight\n")}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
}

TEST(SlopecalcProgram, OverflowingInputsFailWithTheirOwnMessage) {
    struct Case {
        const char* replaced; // in the model, or the modification file when nullptr
        const char* by;
    };
    const Case cases[] = {{"cohesion 3", "cohesion 1e308"}, {nullptr, "1\r\n1 1 4 1e308\r\n"}};
    for (const Case& c : cases) {
        const CopiedExample example("homogeneous.plx");
        if (c.replaced) {
            std::string text = test_support::ReadBytes(example.Model());
            text.replace(text.find(c.replaced), std::string(c.replaced).size(), c.by);
            test_support::WriteBytes(example.Model(), text);
        } else {
            test_support::WriteBytes(example.Data(".mmt"), c.by);
        }
        const Outcome outcome = RunThroughShell(example, example.Model() + " /c");
        EXPECT_EQ(outcome.status, 1) << c.by;
        EXPECT_NE(outcome.err.find("my slope.plx: the inputs overflow: "), std::string::npos)
            << outcome.err;
        EXPECT_FALSE(fs::exists(example.Data(".hxx"))) << c.by;
    }
}

TEST(SlopecalcAnalysis, ZelmoraAnalysisOfTheFirstExampleGivesAFiniteBetaAndItsLog) {
    const CopiedExample example("homogeneous.plx", "homogeneous");
    zelmora::State = zelmora::ProjectState{};
    zelmora::SetDefaults();
    zelmora::State.BatchPath = SLOPECALC_PROGRAM;
    zelmora::State.ProjectPath = example.Model();
    zelmora::State.ProjectName = "homogeneous";
    zelmora::Row(zelmora::State, 1) = {1, 19.6, 2, 3, 0.5};
    zelmora::State.StepSize = 1;
    test_support::MemoryLog log;
    test_support::AnalyseInPlace(log);
    EXPECT_TRUE(std::isfinite(zelmora::State.Beta));
    const double mean = Analyse(testing::LoadExample("homogeneous.plx")).back().best.factor;
    // The mean run passes sin phi with four decimals, which moves phi a little.
    EXPECT_NEAR(zelmora::Entry(zelmora::State.SafetyFactors, 0), mean, 1e-3);
    EXPECT_LT(zelmora::Entry(zelmora::State.SafetyFactors, 1),
              zelmora::Entry(zelmora::State.SafetyFactors, 0));
    EXPECT_LT(zelmora::Entry(zelmora::State.SafetyFactors, 11),
              zelmora::Entry(zelmora::State.SafetyFactors, 0));
    const std::vector<std::string> expectedLabels{
        "Safety Factor Standard",   "number of variables: 2",        "Safety Factor Mean Values",
        "Safety Factor Test: 1",    "Safety Factor Test: 2",         "Beta: ",
        "Probability of Failure: ", "Safety Factor Linearity check", "Linearity (1 = perfect)"};
    for (const std::string& label : expectedLabels) {
        EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), label), log.lines.end()) << label;
    }
    EXPECT_EQ(test_support::ReadBytes(example.Data(".mmt")), "0\r\n");
}

TEST(SlopecalcAnalysis, LayeredExampleProjectGivesAPositiveBeta) {
    const CopiedExample example("layered.plx", "layered");
    zelmora::State = zelmora::ProjectState{};
    zelmora::ReadProjectFile(testing::ExamplePath("layered.zmo"));
    zelmora::State.BatchPath = SLOPECALC_PROGRAM;
    zelmora::State.ProjectPath = example.Model();
    test_support::MemoryLog log;
    test_support::AnalyseInPlace(log);
    EXPECT_GE(zelmora::State.VariableCount, 4);
    EXPECT_GT(zelmora::State.Beta, 0);
    EXPECT_TRUE(std::isfinite(zelmora::State.Beta));
    EXPECT_GT(zelmora::Entry(zelmora::State.SafetyFactors, 0), 1.2);
    EXPECT_LT(zelmora::Entry(zelmora::State.SafetyFactors, 0), 1.6);
}

} // namespace
} // namespace slopecalc
