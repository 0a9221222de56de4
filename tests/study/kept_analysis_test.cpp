#include "project/errors.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "study/study_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

class KeptAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.BatchPath = "calc";
        State.ProjectName = "slope";
        State.StepSize = 0.5;
        Row(State, 1) = {1, 30, 3, 10, 2};
        WriteProjectFile(project_);
    }

    std::string UnreadableNote(const std::string& why) const {
        return "The study file " + studyFile_ + " cannot be read (" + why +
               "); the project is opened without it.";
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("p.zmo");
    const std::string studyFile_ = folder_.File("p.study.json");
    const std::string kept_ = studyFile_ + ".unreadable";
};

long PeakKibibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Nothing is coerced: a number written as text, or a value outside what it may be, makes the
// whole study unreadable rather than quietly replaced by a default.
TEST_F(KeptAnalysis, AValueOfAnotherKindOrOutsideItsRangeMakesTheStudyUnreadable) {
    const std::string rhoPair = R"({"a": {"row": 1, "parameter": "phi"},
        "b": {"row": 1, "parameter": "cohesion"}, "rho": )";
    const std::pair<std::string, std::string> contents[] = {
        {R"({"zelmora_study": "1"})", "\"zelmora_study\" has the wrong type"},
        {R"({"zelmora_study": 1.5})", "\"zelmora_study\" has the wrong type"},
        {R"({"zelmora_study": 1, "settings": {"target_beta": "3.5"}})",
         "\"target_beta\" is not a number above 0 and up to 10"},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"samples": "40"}}})",
         "\"samples\" has the wrong type"},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"target_cov": "0.1"}}})",
         "\"target_cov\" has the wrong type"},
        {R"({"zelmora_study": 1, "settings": {"correlations": [)" + rhoPair + "\"0.5\"}]}}",
         "a correlation has no number \"rho\""},
        {R"({"zelmora_study": 1, "settings": {"correlations": [)" + rhoPair + "1.5}]}}",
         "a correlation has a \"rho\" outside (-1, 1)"},
        {R"({"zelmora_study": 1, "settings": {"correlations": [)" + rhoPair + "-1}]}}",
         "a correlation has a \"rho\" outside (-1, 1)"},
        {R"({"zelmora_study": 1, "project_file_sha256": "abc"})",
         "\"project_file_sha256\" is not 64 lowercase hexadecimal digits"},
        {R"({"zelmora_study": 1, "project_file_sha256": ")" + std::string(64, 'A') + "\"}",
         "\"project_file_sha256\" is not 64 lowercase hexadecimal digits"},
        {R"({"zelmora_study": 1, "settings": {"strengths": 1}})",
         "\"strengths\" has the wrong type"}};
    for (const auto& [content, why] : contents) {
        WriteBytes(studyFile_, content);
        const OpenedStudy opened = ReadStudyOf(project_);
        EXPECT_EQ(opened.unreadable, why) << content;
        EXPECT_EQ(opened.note, UnreadableNote(why)) << content;
    }
}

TEST_F(KeptAnalysis, DeepNestingIsRefusedAtOnceInBoundedMemory) {
    const std::string deep = R"({"zelmora_study": 1, "future": )";
    const std::pair<std::string, std::string> contents[] = {
        {deep + std::string(63, '[') + std::string(63, ']') + "}", ""},
        {deep + std::string(64, '[') + std::string(64, ']') + "}",
         "it is nested deeper than 64 levels"},
        {deep + "\"" + std::string(100, '[') + "\\\"{\"}", ""},
        {std::string(std::size_t{16} * 1024 * 1024, '['), "it is nested deeper than 64 levels"}};
    const long before = PeakKibibytes();
    for (const auto& [content, why] : contents) {
        WriteBytes(studyFile_, content);
        EXPECT_EQ(ReadStudyOf(project_).unreadable, why) << content.substr(0, 40);
    }
    // The file's bytes themselves and their copies, not a tree of 16 million arrays.
    EXPECT_LT(PeakKibibytes() - before, 128 * 1024);
}

TEST_F(KeptAnalysis, SaveKeepsAnUnreadableStudyAsideAndSaysSo) {
    const std::string unreadable = R"({"zelmora_study": 1, "settings": {"method": 3}})";
    WriteBytes(studyFile_, unreadable);
    Study study;
    study.settings.method = Method::Taylor;
    const std::string note = SaveStudyAndProject(project_, study);
    EXPECT_EQ(note, "The study file " + studyFile_ +
                        " could not be read (\"method\" has the wrong type); it is kept as " +
                        kept_ + ".");
    EXPECT_EQ(ReadBytes(kept_), unreadable);
    const OpenedStudy opened = ReadStudyOf(project_);
    EXPECT_EQ(opened.note, "");
    EXPECT_EQ(opened.study.settings.method, Method::Taylor);
    EXPECT_EQ(SaveStudyAndProject(project_, study), "") << "a readable study is replaced";
}

TEST_F(KeptAnalysis, SaveWritesNothingWhenTheKeptNameIsTaken) {
    WriteBytes(studyFile_, "not JSON");
    WriteBytes(kept_, "kept before");
    const std::string projectBytes = ReadBytes(project_);
    State.StepSize = 0.25;
    try {
        SaveStudyAndProject(project_, Study{});
        ADD_FAILURE() << "saved";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Nothing is saved: the study file " + studyFile_ +
                                                 " cannot be read (it is not JSON), and " + kept_ +
                                                 ", where it would be kept, exists already.");
    }
    EXPECT_EQ(ReadBytes(studyFile_), "not JSON");
    EXPECT_EQ(ReadBytes(kept_), "kept before");
    EXPECT_EQ(ReadBytes(project_), projectBytes);
}

} // namespace
} // namespace zelmora
