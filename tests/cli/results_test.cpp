// What a run's result must be to count: a safety factor that is a finite number above 0. A run
// whose calculator left anything else fails, named like every failed run.
#include "tests/cli/batch_process.h"
#include "tests/cli/slope_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

class Results : public ::testing::Test {
protected:
    void SetUp() override { WriteSlopeProject(folder_, project_); }

    void WriteModel(const std::string& extra) const {
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "base 0.3\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nterm 2 3 0.9 0.4\n"
                   "term 2 4 0.03 5\n" +
                       extra);
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("slope.zmo");
    const std::string json_ = folder_.File("analysis.json");
};

TEST_F(Results, AFactorOfZeroOrBelowFailsTheRunNamingTheRunAndTheFile) {
    const struct {
        const char* fault;
        const char* shown;
    } cases[] = {{"zero", "0.0000"}, {"negative", "\u22120.5000"}};
    for (const auto& c : cases) {
        WriteModel("fault " + std::string(c.fault) + " 2 3\n");
        for (const std::string parallel : {"1", "3"}) {
            SCOPED_TRACE(std::string(c.fault) + " parallel " + parallel);
            const Finished finished =
                BatchProcess({"--parallel", parallel, "--json", json_, project_}, folder_.Path())
                    .Wait();
            EXPECT_EQ(finished.status, 1);
            const std::string message =
                "The safety factor read is " + std::string(c.shown) +
                ", not a positive number: " + folder_.File("slope.dta/slope.hxx");
            EXPECT_NE(finished.err.find(message + ".\nIn run 4, \u03c6 of row 2 lowered.\n"),
                      std::string::npos)
                << finished.err;
            const auto json = nlohmann::json::parse(ReadBytes(json_));
            EXPECT_EQ(json["error"], message);
            EXPECT_EQ(json["runs"].back()["run_id"], 2);
            EXPECT_TRUE(json["runs"].back()["safety_factor"].is_null());
            EXPECT_TRUE(json["results"]["beta"].is_null());
        }
    }
}

} // namespace
} // namespace zelmora
