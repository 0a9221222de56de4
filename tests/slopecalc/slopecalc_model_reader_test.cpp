#include "slopecalc/input_error.h"
#include "slopecalc/model_reader.h"
#include "slopecalc_support.h"

#include <gtest/gtest.h>
#include <string>

namespace slopecalc {
namespace {

constexpr const char* Valid = "material 1 unit_weight 20 cohesion 3 phi 19.6\n"
                              "boundary 1 0 25 30 25 50 35 90 35\n"
                              "bedrock 20\n";

TEST(SlopecalcModelReader, ReadsEveryStatementWithCommentsBlankLinesAndCrLf) {
    const Model model = ParseModel("# a comment line\r\n"
                                   "title  two soils, wet  \r\n"
                                   "\r\n"
                                   "material 1 unit_weight 19 cohesion 5 phi 30 # sand\r\n"
                                   "material -2 unit_weight 18.5 cohesion 0 phi 0\r\n"
                                   "boundary 1 0 10 10 10 20 5\r\n"
                                   "boundary -2 0 6 20 5\r\n"
                                   "bedrock -1.5e1\r\n"
                                   "water 0 8 20 4.5\r\n"
                                   "water_unit_weight 10\r\n"
                                   "slices 30\r\n"
                                   "circle 15 20 +12.5\r\n");
    EXPECT_EQ(model.title, "two soils, wet");
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials.at(-2).unitWeight, 18.5);
    EXPECT_EQ(model.materials.at(1).phiDegrees, 30);
    ASSERT_EQ(model.boundaries.size(), 2u);
    EXPECT_EQ(model.boundaries[1].set, -2);
    EXPECT_EQ(model.Ground().ElevationAt(15), 7.5);
    EXPECT_EQ(model.Ground().ElevationAt(-100), 10);
    EXPECT_EQ(model.Ground().ElevationAt(100), 5);
    EXPECT_EQ(model.bedrock, -15);
    ASSERT_TRUE(model.water.has_value());
    EXPECT_EQ(model.water->ElevationAt(10), 6.25);
    EXPECT_EQ(model.waterUnitWeight, 10);
    EXPECT_EQ(model.slices, 30);
    ASSERT_TRUE(model.circle.has_value());
    EXPECT_EQ(model.circle->radius, 12.5);
}

TEST(SlopecalcModelReader, DefaultsAndCoincidingBoundaries) {
    const Model model =
        ParseModel(std::string(Valid) + "material 2 unit_weight 18 cohesion 1 phi 25\n"
                                        "boundary 2 0 25 30 25 50 30 90 30\n");
    EXPECT_EQ(model.waterUnitWeight, 9.81);
    EXPECT_EQ(model.poreRatio, 0);
    EXPECT_EQ(model.slices, 50);
    EXPECT_FALSE(model.water.has_value());
    EXPECT_FALSE(model.circle.has_value());
}

// Options after the strengths come in any order; an ru of 0 is an ru all the same.
TEST(SlopecalcModelReader, ReadsMaterialOptionsAndSearchLimits) {
    const Model model = ParseModel(
        std::string(Valid) +
        "material 2 unit_weight 17 cohesion 12 phi 0 ru 0.3 datum 21.5 cohesion_rate 1.5\n"
        "material 3 unit_weight 17 cohesion 12 phi 0 ru 0\n"
        "search entry 50 90 exit 0 30.5\n");
    const Material& plain = model.materials.at(1);
    EXPECT_EQ(plain.cohesionRate, 0);
    EXPECT_FALSE(plain.poreRatio.has_value());
    const Material& soft = model.materials.at(2);
    EXPECT_EQ(soft.cohesionRate, 1.5);
    EXPECT_EQ(soft.datum, 21.5);
    EXPECT_EQ(soft.poreRatio, 0.3);
    EXPECT_EQ(model.materials.at(3).poreRatio, 0.0);
    ASSERT_TRUE(model.searchLimits.has_value());
    EXPECT_EQ(model.searchLimits->entry.from, 50);
    EXPECT_EQ(model.searchLimits->entry.to, 90);
    EXPECT_EQ(model.searchLimits->exit.from, 0);
    EXPECT_EQ(model.searchLimits->exit.to, 30.5);
}

struct ErrorCase {
    const char* appended;
    const char* message;
};

constexpr const char* MaterialForm =
    "line 4: material needs the form: material <set> unit_weight <gamma> cohesion <c> phi "
    "<degrees> [cohesion_rate <k> datum <z0>] [ru <r>]";
constexpr const char* SearchForm =
    "line 4: search needs the form: search entry <x1> <x2> exit <x3> <x4>";

TEST(SlopecalcModelReader, ReportsEachFaultWithItsLine) {
    const ErrorCase cases[] = {
        {"slope 1", "line 4: unknown keyword \"slope\"; the keywords: title, material, boundary, "
                    "bedrock, water, water_unit_weight, pore_pressure_ratio, slices, circle, "
                    "search"},
        {"bedrock 3", "line 4: bedrock is given twice"},
        {"slices", "line 4: slices needs 1 number, found 0"},
        {"water_unit_weight 9.81 1", "line 4: water_unit_weight needs 1 number, found 2"},
        {"circle 1 2", "line 4: circle needs 3 numbers, found 2"},
        {"circle 1 2 3 4", "line 4: circle needs 3 numbers, found 4"},
        {"circle 1 2 0", "line 4: the circle's radius must be greater than 0"},
        {"circle 1 2 x", "line 4: circle: not a number: \"x\""},
        {"circle 1,5 2 3", "line 4: circle: not a number: \"1,5\""},
        {"circle 1 2 nan", "line 4: circle: not a number: \"nan\""},
        {"circle 1 2 1e999", "line 4: circle: not a number: \"1e999\""},
        {"material 2 unit_weight 0 cohesion 1 phi 20",
         "line 4: material 2: the unit weight must be greater than 0"},
        {"material 2 unit_weight 18 cohesion -1 phi 20",
         "line 4: material 2: the cohesion must not be negative"},
        {"material 2 unit_weight 18 cohesion 1 phi 89.5",
         "line 4: material 2: phi must lie between 0 and 89 degrees"},
        {"material 2 unit_weight 18 cohesion 1 phi -1",
         "line 4: material 2: phi must lie between 0 and 89 degrees"},
        {"material 1 unit_weight 18 cohesion 1 phi 20", "line 4: material 1 is given twice"},
        {"material 2 unit_weight 18 cohesion 1", MaterialForm},
        {"material 2 weight 18 cohesion 1 phi 20", MaterialForm},
        {"material 2 unit_weight 18 cohesion 1 phi 20 ru", MaterialForm},
        {"material 2 unit_weight 18 cohesion 1 phi 20 ru 0.1 ru 0.2", MaterialForm},
        {"material 2 unit_weight 18 cohesion 1 phi 20 rate 2", MaterialForm},
        {"material 2 unit_weight 18 cohesion 1 phi 20 ru x",
         "line 4: material: not a number: \"x\""},
        {"material 2 unit_weight 18 cohesion 1 phi 20 cohesion_rate 2 ru 0.1",
         "line 4: material 2: cohesion_rate and datum go together"},
        {"material 2 unit_weight 18 cohesion 1 phi 20 cohesion_rate -1 datum 20",
         "line 4: material 2: the cohesion rate must not be negative"},
        {"material 2 unit_weight 18 cohesion 1 phi 20 ru 1",
         "line 4: material 2: ru must lie in 0 <= ru < 1"},
        {"water 0 30 90 30\nmaterial 2 unit_weight 18 cohesion 1 phi 20 ru 0.2",
         "line 5: water and a material's ru exclude each other"},
        {"material 2 unit_weight 18 cohesion 1 phi 20 ru 0.2\nwater 0 30 90 30",
         "line 5: water and a material's ru exclude each other"},
        {"material 2.5 unit_weight 18 cohesion 1 phi 20",
         "line 4: a set number must be a whole number: \"2.5\""},
        {"boundary", "line 4: boundary needs the form: boundary <set> <x1> <y1> <x2> <y2> ..."},
        {"boundary 1 0 20 90", "line 4: boundary: the coordinates must come in x y pairs"},
        {"boundary 1 0 20", "line 4: boundary needs at least two points"},
        {"boundary 1 0 20 0 19", "line 4: boundary: x must increase from point to point"},
        {"boundary 1 0 20 40 36",
         "line 4: boundary 1 rises above the boundary before it at x = 30"},
        {"boundary 7 0 20 90 20", "line 4: set 7 has no material"},
        {"water 0 30", "line 4: water needs at least two points"},
        {"water 0 30 0 31", "line 4: water: x must increase from point to point"},
        {"water 0 30 90 30\npore_pressure_ratio 0.2",
         "line 5: water and pore_pressure_ratio exclude each other"},
        {"pore_pressure_ratio 0.2\nwater 0 30 90 30",
         "line 5: water and pore_pressure_ratio exclude each other"},
        {"pore_pressure_ratio 1", "line 4: pore_pressure_ratio must lie in 0 <= ru < 1"},
        {"pore_pressure_ratio -0.1", "line 4: pore_pressure_ratio must lie in 0 <= ru < 1"},
        {"water_unit_weight 0", "line 4: water_unit_weight must be greater than 0"},
        {"slices 1", "line 4: slices must be a whole number from 2 to 10000"},
        {"slices 2.5", "line 4: slices must be a whole number from 2 to 10000"},
        {"title a\ntitle b", "line 5: title is given twice"},
        {"search entry 30 50 exit 0", SearchForm},
        {"search exit 0 30 entry 30 50", SearchForm},
        {"search entry 50 30 exit 0 30",
         "line 4: search: the entry range must run from the smaller x to the larger"},
        {"search entry 20 40 exit 0 60",
         "line 4: search: the entry and exit ranges share their middle, so they do not tell "
         "which way the slope faces"},
        {"search entry 30 95 exit 0 30",
         "line 4: search: the entry range must lie within the ground's x-range 0 to 90"},
        {"search entry 30 50 exit 0 30\nsearch entry 30 50 exit 0 30",
         "line 5: search is given twice"},
        {"circle 40 50 20\nsearch entry 30 50 exit 0 30",
         "line 5: circle and search exclude each other"},
        {"search entry 30 50 exit 0 30\ncircle 40 50 20",
         "line 5: circle and search exclude each other"},
    };
    for (const ErrorCase& c : cases) {
        try {
            ParseModel(std::string(Valid) + c.appended + "\n");
            ADD_FAILURE() << "no error for " << c.appended;
        } catch (const InputError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.appended;
        }
    }
}

// A hostile file must not reach the terminal that shows its error with control sequences.
TEST(SlopecalcModelReader, EchoedWordsShowControlCharactersAsQuestionMarks) {
    const ErrorCase cases[] = {
        {"\x1b]0;owned\x07 1", "line 4: unknown keyword \"?]0;owned?\"; the keywords: title, "
                               "material, boundary, bedrock, water, water_unit_weight, "
                               "pore_pressure_ratio, slices, circle, search"},
        {"circle 1 2 3\r4", "line 4: circle: not a number: \"3?4\""},
        {"circle 1 2 \xc2\x9b"
         "2J",
         "line 4: circle: not a number: \"?2J\""},
        {"material \x1b[31m unit_weight 18 cohesion 1 phi 20",
         "line 4: a set number must be a whole number: \"?[31m\""},
        {"h\xc3\xb6he 1", "line 4: unknown keyword \"h\xc3\xb6he\"; the keywords: title, material, "
                          "boundary, bedrock, water, water_unit_weight, pore_pressure_ratio, "
                          "slices, circle, search"},
    };
    for (const ErrorCase& c : cases) {
        try {
            ParseModel(std::string(Valid) + c.appended + "\n");
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const InputError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(SlopecalcModelReader, ReportsMissingStatementsAndUnreadableFiles) {
    const ErrorCase cases[] = {
        {"material 1 unit_weight 20 cohesion 3 phi 19.6\nbedrock 20\n",
         "the model has no boundary"},
        {"material 1 unit_weight 20 cohesion 3 phi 19.6\nboundary 1 0 25 90 35\n",
         "the model has no bedrock"},
    };
    for (const ErrorCase& c : cases) {
        try {
            ParseModel(c.appended);
            ADD_FAILURE() << "no error for " << c.appended;
        } catch (const InputError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    EXPECT_THROW(ReadModelFile(testing::ExamplePath("no such model.plx")), InputError);
}

} // namespace
} // namespace slopecalc
