#include "analysis/coupling/result_file.h"
#include "analysis/methods/stored_results.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/text_input.h"
#include "slopecalc/number_text.h"
#include "slopecalc/result_file.h"
#include "slopecalc/search.h"
#include "slopecalc_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

struct ReadRecord {
    std::vector<double> second; // the four numbers of the second line
    std::vector<double> last;   // the six numbers of the last line
};

// Reads the records the way the system does: skip a line, four numbers, skip the rest and ten
// lines, six numbers, skip the rest; until the end of the file.
std::vector<ReadRecord> ReadRecords(const std::string& path) {
    zelmora::TextInput input;
    input.OpenForReading(path);
    std::vector<ReadRecord> records;
    while (!input.AtEnd()) {
        ReadRecord record;
        input.SkipLine();
        for (int i = 0; i < 4; ++i) {
            record.second.push_back(static_cast<double>(input.ReadReal()));
        }
        for (int i = 0; i < 11; ++i) {
            input.SkipLine();
        }
        for (int i = 0; i < 6; ++i) {
            record.last.push_back(static_cast<double>(input.ReadReal()));
        }
        input.SkipLine();
        records.push_back(record);
    }
    input.Close();
    zelmora::CheckIo();
    return records;
}

TEST(SlopecalcResultFile, EachStageReadsBackExactlyByTheRecordRules) {
    const test_support::TempFolder folder;
    for (const char* name : {"homogeneous.plx", "imperial.plx", "layered.plx"}) {
        const Model model = testing::LoadExample(name);
        const std::vector<StageResult> stages = Analyse(model);
        const std::string path = folder.File("result.hxx");
        test_support::WriteBytes(path, FormatResultRecords(model, stages));
        const std::vector<ReadRecord> records = ReadRecords(path);
        ASSERT_EQ(records.size(), stages.size()) << name;
        for (std::size_t i = 0; i < stages.size(); ++i) {
            const Evaluation& e = stages[i].best;
            EXPECT_EQ(records[i].second[3], e.factor) << name << " stage " << i + 1;
            const std::vector<double> expected{e.surface.circle.xc,
                                               e.surface.circle.yc,
                                               e.surface.circle.radius,
                                               EntryX(e),
                                               ExitX(e),
                                               static_cast<double>(model.slices)};
            EXPECT_EQ(records[i].last, expected) << name << " stage " << i + 1;
        }
    }
}

TEST(SlopecalcResultFile, TheSystemsReaderKeepsTheFinalFactor) {
    const test_support::TempFolder folder;
    const Model model = testing::LoadExample("homogeneous.plx");
    const std::vector<StageResult> stages = Analyse(model);
    ASSERT_GT(stages.front().best.factor, stages.back().best.factor);
    const std::string path = folder.File("homogeneous.hxx");
    test_support::WriteBytes(path, FormatResultRecords(model, stages));
    const zelmora::ResultReading reading = zelmora::ReadResultFile(path);
    EXPECT_FALSE(reading.openError || reading.readError);
    zelmora::StoredResults stored;
    zelmora::StoreRunFactor(stored, {}, -1, reading.safetyFactor.value());
    EXPECT_EQ(stored.lastSafetyFactor, stages.back().best.factor);
    EXPECT_EQ(zelmora::Entry(stored.safetyFactors, -1), stages.back().best.factor);
}

TEST(SlopecalcResultFile, RefusesAFactorThatIsNotFinite) {
    const Model model = testing::LoadExample("imperial.plx");
    std::vector<StageResult> stages = Analyse(model);
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        stages.back().best.factor = bad;
        EXPECT_THROW(FormatResultRecords(model, stages), zelmora::Error);
    }
}

TEST(SlopecalcResultFile, ExactTextReadsBackThroughTheSystemsParser) {
    const double values[] = {0.1,
                             1.0 / 3,
                             2.0747423594657834,
                             0.98527338,
                             1e-5,
                             -0.5,
                             123456.789,
                             7.0 / 9 * 1e-12,
                             1e20,
                             4503599627370497.0,
                             0.0,
                             15.999999999999998,
                             8.000000000000002};
    for (double value : values) {
        const std::string text = ExactText(value);
        const zelmora::ParsedReal parsed = zelmora::ParseReal(text);
        EXPECT_EQ(parsed.errorPosition, 0) << text;
        EXPECT_EQ(static_cast<double>(parsed.value), value) << text;
        EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos) << text;
    }
}

TEST(SlopecalcNumberText, ParsesPointNotationOnly) {
    struct Case {
        const char* text;
        bool valid;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},    {"-.25E+1", true, -2.5}, {"+5.", true, 5},   {"19.6", true, 19.6},
        {"1e-3", true, 0.001}, {"", false, 0},          {".", false, 0},    {"E5", false, 0},
        {"1e", false, 0},      {"1,5", false, 0},       {"0x10", false, 0}, {"inf", false, 0},
        {"nan", false, 0},     {"1.5 ", false, 0},      {"--1", false, 0},  {"1e400", false, 0},
    };
    for (const Case& c : cases) {
        const auto value = ParseNumber(c.text);
        EXPECT_EQ(value.has_value(), c.valid) << c.text;
        if (value && c.valid) {
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
}

} // namespace
} // namespace slopecalc
