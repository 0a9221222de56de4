#include "analysis/coupling/modification_file.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "project/text_output.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

class ModificationFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputs_.stepSize = 1.0;
        path_ = folder_.File("test.mmt");
    }

    // Lists the given variables as the variable list would.
    void UseVariables(std::initializer_list<int> variables) { inputs_.variables = variables; }

    SoilSet& Row(int r) { return inputs_.soil[static_cast<std::size_t>(r - 1)]; }

    void WriteRun(const std::string& path, int runId) const {
        WriteModificationFile(path, ModificationLines(inputs_, runId));
    }

    std::string Written(int runId) {
        WriteRun(path_, runId);
        return test_support::ReadBytes(path_);
    }

    test_support::TempFolder folder_;
    std::string path_;
    AnalysisInputs inputs_;
};

TEST_F(ModificationFileTest, WritesTheLinesOfEveryRun) {
    Row(1) = {1, 30, 3, 10, 2};
    UseVariables({1, 11});

    EXPECT_EQ(Written(-1), "0\r\n");
    EXPECT_EQ(Written(0), "2\r\n1 1 3   0.5000\r\n1 1 4  10.0000\r\n");
    EXPECT_EQ(Written(1), "1\r\n1 1 3   0.4477\r\n");
    EXPECT_EQ(Written(2), "1\r\n1 1 4   8.0000\r\n");
    EXPECT_EQ(Written(-2), "2\r\n1 1 3   0.4477\r\n1 1 4   8.0000\r\n");
}

// The values a run is said to write are the ones its file holds, as the calculator reads them.
TEST_F(ModificationFileTest, TheValuesWrittenWriteTheSameLines) {
    Row(1) = {1, 30, 3, 10, 2};
    Row(4) = {7, 24, 2, 16.123456, 3};
    UseVariables({1, 11, 4, 14});
    for (const int runId : {-1, 0, 1, 2, 3, 4, -2}) {
        const std::vector<ValueWritten> values = ValuesWrittenBy(inputs_, runId);
        EXPECT_EQ(LinesWriting(inputs_.soil, values), ModificationLines(inputs_, runId)) << runId;
        for (const ValueWritten& v : values) {
            const std::string line = LinesWriting(inputs_.soil, {v}).back();
            EXPECT_EQ(std::stod(line.substr(line.rfind(' ') + 1)), v.value) << runId;
        }
    }
    EXPECT_EQ(ValuesWrittenBy(inputs_, 0).at(3).value, 16.1235);
}

TEST_F(ModificationFileTest, LowersTheSineByTheStepTimesTheSineOfTheDeviation) {
    Row(1) = {1, 30, 3, 10, 2};
    inputs_.stepSize = 0.5;
    UseVariables({1, 11});

    EXPECT_EQ(Written(1), "1\r\n1 1 3   0.4738\r\n");
    EXPECT_EQ(Written(2), "1\r\n1 1 4   9.0000\r\n");
}

TEST_F(ModificationFileTest, NamesEachVariableBySetNumberOfItsRow) {
    Row(2) = {-7, 45, 5, 100, 10};
    Row(4) = {0, 20, 2, 1234.5, 100};
    Row(7) = {0, 0, 0, 5, 1};
    UseVariables({2, 4, 12, 14, 17});

    EXPECT_EQ(Written(0), "5\r\n"
                          "1 -7 3   0.7071\r\n"
                          "1 0 3   0.3420\r\n"
                          "1 -7 4 100.0000\r\n"
                          "1 0 4 1234.5000\r\n"
                          "1 0 4   5.0000\r\n");
    EXPECT_EQ(Written(3), "1\r\n1 -7 4  90.0000\r\n");
    EXPECT_EQ(Written(-2), "5\r\n"
                           "1 -7 3   0.6200\r\n"
                           "1 0 3   0.3071\r\n"
                           "1 -7 4  90.0000\r\n"
                           "1 0 4 1134.5000\r\n"
                           "1 0 4   4.0000\r\n");
}

TEST_F(ModificationFileTest, WithoutVariablesEveryRunHoldsOnlyTheCount) {
    Row(1) = {1, 30, 3, 10, 2};
    UseVariables({});
    for (int runId : {-2, -1, 0}) {
        EXPECT_EQ(Written(runId), "0\r\n") << "run " << runId;
    }
}

TEST_F(ModificationFileTest, EmptiesAnExistingFile) {
    test_support::WriteBytes(path_, std::string(10000, 'x'));
    UseVariables({});
    EXPECT_EQ(Written(-1), "0\r\n");
}

TEST_F(ModificationFileTest, FailsWhenTheFileCannotBeCreated) {
    UseVariables({});
    try {
        WriteRun(folder_.File("missing.dta/test.mmt"), -1);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code, 3);
        EXPECT_STREQ(error.what(), "Invalid filename");
    }

    std::filesystem::create_directory(path_);
    try {
        WriteRun(path_, -1);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
}

TEST_F(ModificationFileTest, ReportsAFailedWriteAtTheClose) {
    UseVariables({});
    TextOutput::SetWriteCallForTesting(
        [](int, const char*, std::size_t) -> std::ptrdiff_t { return 0; });
    try {
        WriteRun(path_, -1);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "Disk full");
    }
    TextOutput::SetWriteCallForTesting(nullptr);
}

} // namespace
} // namespace zelmora
