#include "analysis/analysis_driver.h"
#include "fault_project.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/memory_log.h"
#include "tests/support/scoped_tmpfs.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {
namespace {

using test_support::AnalyseInPlace;
using test_support::ReadBytes;

// Runs of the one-row project: standard, mean values, friction reduced, cohesion reduced,
// all reduced.
constexpr int MeanRun = 2;
constexpr int Keys[] = {-1, 0, 1, 11, -2};

class AnalysisFaultTest : public ::testing::Test {
protected:
    // The results of the same analysis without a fault.
    void SetUp() override {
        AnalyseInPlace(log_);
        clean_ = State;
        cleanLog_ = log_.lines;
    }

    std::string Analyse(const std::string& behaviour) {
        project_.SetBehaviour(behaviour);
        return Analyse();
    }

    // The error message that ended the analysis, empty when it completed.
    std::string Analyse() {
        try {
            AnalyseInPlace(log_);
        } catch (const Error& error) {
            return error.what();
        }
        return "";
    }

    void ExpectCleanResults() const {
        EXPECT_EQ(State.SafetyFactors, clean_.SafetyFactors);
        EXPECT_EQ(State.Sensitivities, clean_.Sensitivities);
        EXPECT_EQ(State.Beta, clean_.Beta);
        EXPECT_EQ(State.FailureProbability, clean_.FailureProbability);
        EXPECT_EQ(State.Linearity, clean_.Linearity);
        EXPECT_EQ(log_.lines, cleanLog_);
    }

    std::string ModificationFile() const { return ReadBytes(State.ModificationFilePath); }

    fault_tests::FaultProject project_;
    test_support::MemoryLog log_;
    ProjectState clean_;
    std::vector<std::string> cleanLog_;
};

TEST_F(AnalysisFaultTest, TheCleanAnalysisHasAPositiveBeta) {
    EXPECT_GT(clean_.Beta, 0);
    EXPECT_GT(clean_.Linearity, 0);
    EXPECT_EQ(ModificationFile(), "0\r\n");
}

// The exit status says nothing about the result: 255 is not taken for "could not start".
TEST_F(AnalysisFaultTest, ANonZeroExitAfterAValidResultIsIgnored) {
    for (const char* status : {"1", "3", "255"}) {
        SCOPED_TRACE(status);
        EXPECT_EQ(Analyse(std::string("exit ") + status), "");
        ExpectCleanResults();
    }
}

// Whatever a calculator that a signal ended left, a whole result or none, is not read.
TEST_F(AnalysisFaultTest, ASignalEndsTheAnalysisWithoutModifications) {
    for (const char* fault : {"kill-after ", "kill-before "}) {
        SCOPED_TRACE(fault);
        EXPECT_EQ(Analyse(fault + std::to_string(MeanRun)),
                  "The batch calculator ended by signal 9 (Killed): " + State.ResultFilePath);
        EXPECT_EQ(Entry(State.SafetyFactors, -1), Entry(clean_.SafetyFactors, -1));
        EXPECT_EQ(State.LastSafetyFactor, Entry(clean_.SafetyFactors, -1));
        for (int key : {0, 1, 11, -2}) {
            EXPECT_EQ(Entry(State.SafetyFactors, key), 0.0) << "key " << key;
        }
        EXPECT_EQ(State.Beta, 0.0);
        EXPECT_EQ(log_.lines, std::vector<std::string>(cleanLog_.begin(), cleanLog_.begin() + 3));
        EXPECT_EQ(ModificationFile(), "0\r\n");
    }
}

// A record counts once its closing six numbers and their line end were read: a second record
// cut short anywhere leaves the factor of the whole one before it.
TEST_F(AnalysisFaultTest, ATruncatedResultKeepsTheLastCompleteFactor) {
    for (const char* cut :
         {"title", "three-numbers", "factor", "details", "last-numbers", "line-end"}) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(Analyse("truncate " + std::to_string(MeanRun) + " " + cut), "");
        EXPECT_EQ(Entry(State.SafetyFactors, 0), 9.5);
        for (int key : {-1, 1, 11, -2}) {
            EXPECT_EQ(Entry(State.SafetyFactors, key), Entry(clean_.SafetyFactors, key));
        }
        EXPECT_EQ(ModificationFile(), "0\r\n");
    }
}

TEST_F(AnalysisFaultTest, AReadOnlyDataFolderEndsTheAnalysisBeforeAnyRun) {
    const std::string earlier = "2\r\n1 1 3   0.4477\r\n1 1 4   8.0000\r\n";
    test_support::ScopedTmpfs data(project_.dataFolder(), "size=64k");
    const std::string modificationFile = State.ModificationFilePath;
    test_support::WriteBytes(modificationFile, earlier);
    if (data.Mounted()) {
        ASSERT_TRUE(data.RemountReadOnly());
    } else if (geteuid() != 0) {
        chmod(modificationFile.c_str(), 0444);
        chmod(project_.dataFolder().c_str(), 0555);
    } else {
        GTEST_SKIP() << "root may write anywhere and cannot mount a read-only folder here";
    }

    EXPECT_EQ(Analyse(), "File access denied");
    EXPECT_EQ(ReadBytes(modificationFile), earlier);
    EXPECT_FALSE(std::filesystem::exists(project_.dataFile("runs")));
    EXPECT_EQ(log_.lines, std::vector<std::string>{"Zelmora"});
    for (int key : Keys) {
        EXPECT_EQ(Entry(State.SafetyFactors, key), 0.0) << "key " << key;
    }
    chmod(project_.dataFolder().c_str(), 0755);
}

} // namespace
} // namespace zelmora
