#include "slopecalc/input_error.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/modification.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

namespace slopecalc {
namespace {

Model TwoSets() {
    return ParseModel("material 1 unit_weight 20 cohesion 3 phi 19.6\n"
                      "material 12 unit_weight 20 cohesion 3 phi 19.6\n"
                      "boundary 1 0 25 30 25 50 35 90 35\n"
                      "boundary 12 0 22 90 22\n"
                      "bedrock 20\n");
}

TEST(SlopecalcModification, ReadsTheLinesTheSystemWritesAndLooserSpacing) {
    const std::string texts[] = {
        "2\r\n1 1 3   0.5000\r\n1 12 4  10.0000\r\n",
        "2\n1 1 3 0.5\n1 12 4 10",
        "  2  \n\t1  1\t3 .5000  \n1 12 4 +1e1\n",
    };
    for (const std::string& text : texts) {
        const std::vector<Modification> list = ParseModifications(text, TwoSets());
        ASSERT_EQ(list.size(), 2u) << text;
        EXPECT_EQ(list[0].set, 1);
        EXPECT_EQ(list[0].parameter, SinePhiParameter);
        EXPECT_EQ(list[0].value, 0.5);
        EXPECT_EQ(list[1].set, 12);
        EXPECT_EQ(list[1].parameter, CohesionParameter);
        EXPECT_EQ(list[1].value, 10);
    }
    EXPECT_TRUE(ParseModifications("0\r\n", TwoSets()).empty());
}

TEST(SlopecalcModification, SetsPhiFromItsSineAndTheCohesion) {
    Model model = TwoSets();
    ApplyModifications(model,
                       ParseModifications("2\r\n1 12 3   0.4477\r\n1 1 4   8.0000\r\n", model));
    EXPECT_NEAR(model.materials.at(12).phiDegrees, std::asin(0.4477) * 180 / std::numbers::pi,
                1e-12);
    EXPECT_EQ(model.materials.at(12).cohesion, 3);
    EXPECT_EQ(model.materials.at(1).cohesion, 8);
    EXPECT_EQ(model.materials.at(1).phiDegrees, 19.6);
}

TEST(SlopecalcModification, ChangesTheCriticalFactorAsTheStrengthChanges) {
    const Model model = testing::LoadExample("homogeneous.plx");
    const double base = SearchCriticalCircle(model).back().best.factor;
    const auto factorWith = [&](const std::string& text) {
        Model modified = model;
        ApplyModifications(modified, ParseModifications(text, modified));
        return SearchCriticalCircle(modified).back().best.factor;
    };
    const double sinPhi = std::sin(19.6 * std::numbers::pi / 180);
    EXPECT_NEAR(factorWith("2\r\n1 1 3 " + std::to_string(sinPhi) + "\r\n1 1 4 3\r\n"), base, 1e-5);
    EXPECT_GT(factorWith("1\r\n1 1 4  10.0000\r\n"), base * 1.2);
    EXPECT_LT(factorWith("1\r\n1 1 3   0.2000\r\n"), base);
}

TEST(SlopecalcModification, MissingFileMeansNoModifications) {
    const test_support::TempFolder folder;
    EXPECT_TRUE(ReadModificationFile(folder.File("none.mmt"), TwoSets()).empty());
    test_support::WriteBytes(folder.File("one.mmt"), "1\r\n1 1 4   7.0000\r\n");
    EXPECT_EQ(ReadModificationFile(folder.File("one.mmt"), TwoSets()).at(0).value, 7);
}

struct ErrorCase {
    const char* text;
    const char* message;
};

TEST(SlopecalcModification, ReportsEachFaultWithItsLine) {
    const ErrorCase cases[] = {
        {"", "line 1: the count of modifications is missing"},
        {"two\r\n", "line 1: the count of modifications must be a whole number, found \"two\""},
        {"-1\r\n", "line 1: the count of modifications must be a whole number, found \"-1\""},
        {"1 2\r\n", "line 1: the count of modifications must be a whole number, found \"1 2\""},
        {"2\r\n1 1 4 5\r\n", "line 1: the count is 2 but 1 modification line follows"},
        {"0\r\n1 1 4 5\r\n", "line 1: the count is 0 but 1 modification line follows"},
        {"1\r\n1 1 4 5\r\n\r\n", "line 1: the count is 1 but 2 modification lines follow"},
        {"1\r\n1 1 4\r\n",
         "line 2: malformed modification \"1 1 4\", expected \"1 <set> <3 or 4> <value>\""},
        {"1\r\n2 1 4 5\r\n",
         "line 2: malformed modification \"2 1 4 5\", expected \"1 <set> <3 or 4> <value>\""},
        {"1\r\n1 1 4 5 6\r\n",
         "line 2: malformed modification \"1 1 4 5 6\", expected \"1 <set> <3 or 4> <value>\""},
        {"1\r\n1 a 4 5\r\n",
         "line 2: malformed modification \"1 a 4 5\", expected \"1 <set> <3 or 4> <value>\""},
        {"1\r\n1 1 4 5,0\r\n",
         "line 2: malformed modification \"1 1 4 5,0\", expected \"1 <set> <3 or 4> <value>\""},
        {"1\r\n1 3 4 5\r\n", "line 2: unknown set 3"},
        {"2\r\n1 1 4 5\r\n1 1 5 5\r\n",
         "line 3: unknown parameter 5, expected 3 (sin phi) or 4 (cohesion)"},
        {"1\r\n1 1 3 1.0000\r\n", "line 2: sin phi must lie in 0 <= value < 1"},
        {"1\r\n1 1 3 -0.1000\r\n", "line 2: sin phi must lie in 0 <= value < 1"},
        {"1\r\n1 1 4 -0.0001\r\n", "line 2: the cohesion must not be negative"},
        {"\x1b[2J\r\n",
         "line 1: the count of modifications must be a whole number, found \"?[2J\""},
        {"1\r\n1\t1 4\x07\r\n",
         "line 2: malformed modification \"1?1 4?\", expected \"1 <set> <3 or 4> <value>\""},
    };
    for (const ErrorCase& c : cases) {
        try {
            ParseModifications(c.text, TwoSets());
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const InputError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
}

} // namespace
} // namespace slopecalc
