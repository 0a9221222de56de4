#include "project/project_file.h"
#include "project/project_state.h"
#include "report/json/analysis_json.h"
#include "report/json/analysis_json_read.h"
#include "study/study_file.h"
#include "tests/project/special_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <tuple>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

MethodResult Form() {
    MethodResult form;
    form.method = Method::Form;
    form.strengths = StrengthDistribution::Lognormal;
    form.runs = 12;
    form.converged = false;
    form.iterations = 3;
    form.beta = 1.6544;
    // Φ(-β), and the design point -αβ of row 1's lognormal strengths, as FORM gives them.
    form.probability = 0.0490231332393396;
    form.designPoint = {{1, 1, true, 30, 26.159157383068464, 0.8},
                        {11, 1, false, 10, 8.055782258615542, 0.6}};
    form.variables = {{1, std::nullopt, std::nullopt, 0.64},
                      {11, std::nullopt, std::nullopt, 0.36}};
    form.history = {{1, 1.5, 0.25}, {2, 1.65, 0.01}, {3, 1.6544, -1e-5}};
    return form;
}

MethodResult Taylor() {
    MethodResult taylor;
    taylor.method = Method::Taylor;
    taylor.runs = 4;
    taylor.beta = 2.25;
    taylor.probability = 0.0122;
    taylor.betaLognormal = 2.5;
    taylor.variables = {{1, -0.1, 0.02, 0.7}, {2, std::nullopt, std::nullopt, std::nullopt}};
    return taylor;
}

RunOutcome Outcome(int runId, int exitStatus, double seconds, std::optional<double> factor) {
    RunOutcome outcome;
    outcome.runId = runId;
    outcome.started = true;
    outcome.exitStatus = exitStatus;
    outcome.seconds = seconds;
    outcome.safetyFactor = factor;
    return outcome;
}

AnalysisRecord Record(const std::optional<MethodResult>& method) {
    AnalysisRecord record;
    record.parallelRuns = 3;
    record.outcomes = {Outcome(-1, 0, 0.25, 1.31), Outcome(0, 2, 1.5, std::nullopt)};
    record.method = method;
    return record;
}

class StudyFile : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.BatchPath = "calc";
        State.ProjectName = "slope";
        State.StepSize = 0.5;
        Row(State, 1) = {1, 30, 3, 10, 2};
        Entry(State.SafetyFactors, 0) = 1.31;
        Entry(State.SafetyFactors, -1) = 1.31; // the standard run's, as Record() has it
    }

    Study Saved(const std::optional<MethodResult>& method) const {
        Study study;
        study.settings.method = Method::Form;
        study.settings.strengths = StrengthDistribution::Lognormal;
        study.analysisJson = AnalysisJson(project_, State, Record(method));
        SaveStudyAndProject(project_, study);
        return study;
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("p.zmo");
    const std::string studyFile_ = folder_.File("p.study.json");
};

TEST(StudyFileName, ReplacesTheProjectSuffixOrAppends) {
    const std::pair<std::string, std::string> names[] = {{"p.zmo", "p.study.json"},
                                                         {"result", "result.study.json"},
                                                         {"a/b.ZMO", "a/b.ZMO.study.json"},
                                                         {"x.zmo.bak", "x.zmo.bak.study.json"},
                                                         {".zmo", ".study.json"}};
    for (const auto& [project, study] : names) {
        EXPECT_EQ(StudyFileName(project), study) << project;
    }
}

// What the JSON tells of an analysis reads back into a record that tells it alike.
TEST(AnalysisJsonRead, EveryMethodReadsBackToTheSameJson) {
    const ProjectState project{};
    for (const std::optional<MethodResult>& method :
         {std::optional<MethodResult>(), std::optional(Taylor()), std::optional(Form())}) {
        const std::string json = AnalysisJson("p.zmo", project, Record(method));
        const AnalysisRecord read = RecordFromAnalysisJson(json);
        EXPECT_EQ(AnalysisJson("p.zmo", project, read), json);
        EXPECT_EQ(read.method.has_value(), method.has_value());
        if (read.method && read.method->betaLognormal) {
            EXPECT_NEAR(*read.method->lognormalProbability, 0.00621, 1e-5);
        }
    }
}

TEST_F(StudyFile, SavedBeforeTheProjectFileAndReadBackWhole) {
    const Study saved = Saved(Form());
    EXPECT_EQ(ReadBytes(project_), ProjectFileText());
    const OpenedStudy opened = ReadStudyOf(project_);
    EXPECT_EQ(opened.note, "");
    EXPECT_EQ(opened.study.settings.method, Method::Form);
    EXPECT_EQ(opened.study.settings.strengths, StrengthDistribution::Lognormal);
    EXPECT_EQ(opened.study.analysisJson, saved.analysisJson);
    const auto document = nlohmann::json::parse(ReadBytes(studyFile_));
    EXPECT_EQ(document["zelmora_study"], 1);
    EXPECT_EQ(document["project_file_sha256"].get<std::string>().size(), 64U);
}

TEST_F(StudyFile, KeysOfALaterVersionSurviveASave) {
    WriteProjectFile(project_);
    WriteBytes(studyFile_, R"({"zelmora_study": 1, "future": [1, 2],
        "settings": {"method": "taylor", "target_beta": 3.5, "sets": {"1": "clay"}}})");
    Study study = ReadStudyOf(project_).study;
    study.settings.strengths = StrengthDistribution::Lognormal;
    SaveStudyAndProject(project_, study);
    const auto document = nlohmann::json::parse(ReadBytes(studyFile_));
    EXPECT_EQ(document["future"], nlohmann::json({1, 2}));
    EXPECT_EQ(document["settings"]["target_beta"], 3.5);
    EXPECT_EQ(document["settings"]["sets"]["1"], "clay");
    EXPECT_EQ(document["settings"]["method"], "taylor");
    EXPECT_EQ(document["settings"]["strengths"], "lognormal");
    EXPECT_FALSE(document.contains("analysis"));
}

TEST_F(StudyFile, CorrelationsAndSetNamesAreKeptInTheSettings) {
    WriteProjectFile(project_);
    Study study;
    study.settings.correlations = {{1, 11, -0.5}, {12, 2, 0.25}};
    study.settings.setNames = {{1, "clayey sand"}, {10, "fill \"A\""}};
    SaveStudyAndProject(project_, study);
    const auto document = nlohmann::json::parse(ReadBytes(studyFile_));
    EXPECT_EQ(document["settings"]["correlations"][0],
              nlohmann::json::parse(R"({"a": {"row": 1, "parameter": "phi"},
                  "b": {"row": 1, "parameter": "cohesion"}, "rho": -0.5})"));
    EXPECT_EQ(document["settings"]["set_names"]["10"], "fill \"A\"");
    const StudySettings read = ReadStudyOf(project_).study.settings;
    ASSERT_EQ(read.correlations.size(), 2U);
    EXPECT_EQ(read.correlations[1].a, 12);
    EXPECT_EQ(read.correlations[1].b, 2);
    EXPECT_EQ(read.correlations[1].rho, 0.25);
    EXPECT_EQ(read.setNames, study.settings.setNames);
}

// The sign-off's texts under their keys, read back whole; a study saved before them has none.
TEST_F(StudyFile, TheSignOffIsKeptInTheSettings) {
    WriteProjectFile(project_);
    Study study;
    study.settings.signOff = {"Cut 12 \"B\"", "Städtische Werke", "A. Eng", ""};
    SaveStudyAndProject(project_, study);
    const auto settings = nlohmann::json::parse(ReadBytes(studyFile_))["settings"];
    EXPECT_EQ(settings["job"], "Cut 12 \"B\"");
    EXPECT_EQ(settings["client"], "Städtische Werke");
    EXPECT_EQ(settings["prepared_by"], "A. Eng");
    EXPECT_EQ(settings["checked_by"], "");
    const SignOff read = ReadStudyOf(project_).study.settings.signOff;
    EXPECT_EQ(std::tie(read.job, read.client, read.preparedBy, read.checkedBy),
              std::tie(study.settings.signOff.job, study.settings.signOff.client,
                       study.settings.signOff.preparedBy, study.settings.signOff.checkedBy));
    WriteBytes(studyFile_, R"({"zelmora_study": 1, "settings": {"target_beta": 3.5}})");
    EXPECT_EQ(ReadStudyOf(project_).study.settings.signOff.job, "");
}

TEST_F(StudyFile, AProjectFileChangedSinceKeepsTheSettingsButNotTheResults) {
    Saved(Taylor());
    State.StepSize = 0.25;
    WriteProjectFile(project_);
    const OpenedStudy opened = ReadStudyOf(project_);
    EXPECT_EQ(opened.study.settings.method, Method::Form);
    EXPECT_EQ(opened.study.settings.strengths, StrengthDistribution::Lognormal);
    EXPECT_EQ(opened.study.analysisJson, "");
    EXPECT_EQ(opened.note, "The study file " + studyFile_ +
                               " does not match the project file; its settings are kept, its "
                               "results are not.");
}

TEST_F(StudyFile, AStudyThatCannotBeReadIsNamedAndGivesTheDefaults) {
    const std::pair<std::string, std::string> contents[] = {
        {"{\"zelmora_study\": 1, \"settings\": ", "it is not JSON"},
        {"[1]", "it is not a study file"},
        {R"({"zelmora_study": 2})", "its version is not 1"},
        {R"({"zelmora_study": 1, "settings": {"method": 3}})", "\"method\" has the wrong type"},
        {R"({"zelmora_study": 1, "settings": {"method": "monte-carlo"}})",
         "\"method\" has the unknown value \"monte-carlo\""},
        {R"({"zelmora_study": 1, "settings": []})", "\"settings\" has the wrong type"},
        {R"({"zelmora_study": 1, "project_file_sha256": null})",
         "\"project_file_sha256\" has the wrong type"},
        {R"({"zelmora_study": 1, "analysis": {"runs": "none"}})",
         "\"analysis\" is not an analysis as zelmora-batch writes it"},
        {R"({"zelmora_study": 1, "settings": {"correlations": [{"a": {"row": 11,
            "parameter": "phi"}, "b": {"row": 1, "parameter": "cohesion"}, "rho": 0.1}]}})",
         "a correlation names no strength of the soil table"},
        {R"({"zelmora_study": 1, "settings": {"correlations": [{"a": {"row": 1,
            "parameter": "phi"}, "b": {"row": 1, "parameter": "cohesion"}}]}})",
         "a correlation has no number \"rho\""},
        {R"({"zelmora_study": 1, "settings": {"set_names": {"0": "x"}}})",
         "\"set_names\" holds something else than names of rows 1 to 10"},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"kind": "form"}}})",
         "\"kind\" has the unknown value \"form\""},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"seed": -1}}})",
         "\"seed\" has the wrong type"},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"samples": 100001}}})",
         "\"sampling\" holds samples outside 20 to 100000 or a target coefficient of "
         "variation outside (0, 1)"},
        {R"({"zelmora_study": 1, "settings": {"sampling": {"target_cov": 1}}})",
         "\"sampling\" holds samples outside 20 to 100000 or a target coefficient of "
         "variation outside (0, 1)"},
        {R"({"zelmora_study": 1, "settings": {"checked_by": 1}})",
         "\"checked_by\" has the wrong type"},
        {std::string(16 * 1024 * 1024 + 1, ' '), "larger than 16 MiB"}};
    WriteProjectFile(project_);
    for (const auto& [content, why] : contents) {
        WriteBytes(studyFile_, content);
        const OpenedStudy opened = ReadStudyOf(project_);
        EXPECT_EQ(opened.note, "The study file " + studyFile_ + " cannot be read (" + why +
                                   "); the project is opened without it.");
        EXPECT_EQ(opened.study.settings.method, Method::FirstOrder);
        EXPECT_EQ(opened.study.analysisJson, "");
    }
}

TEST_F(StudyFile, SpecialFilesAndLinksToThemAreRefused) {
    std::filesystem::create_directory(folder_.File("special"));
    std::vector<test_support::SpecialFile> specials =
        test_support::MakeSpecialFiles(folder_.File("special"));
    ASSERT_EQ(mkfifo(folder_.File("fifo.study.json").c_str(), 0666), 0);
    specials.push_back({"pipe as the study", folder_.File("fifo")});
    for (std::size_t k = 0; k + 1 < specials.size(); ++k) {
        const std::string linked = folder_.File("link" + std::to_string(k));
        std::filesystem::create_symlink(specials[k].path, linked + ".study.json");
        specials[k].path = linked;
    }
    for (const test_support::SpecialFile& special : specials) {
        const std::string project = special.path + ".zmo";
        WriteProjectFile(project);
        const OpenedStudy opened = ReadStudyOf(project);
        EXPECT_EQ(opened.note, "The study file " + special.path +
                                   ".study.json cannot be read (File access denied); the "
                                   "project is opened without it.")
            << special.name;
    }
}

TEST_F(StudyFile, NoStudyFileGivesTheDefaultsSilently) {
    WriteProjectFile(project_);
    const OpenedStudy opened = ReadStudyOf(project_);
    EXPECT_EQ(opened.note, "");
    EXPECT_EQ(opened.study.settings.method, Method::FirstOrder);
    EXPECT_EQ(opened.study.settings.strengths, StrengthDistribution::Normal);
}

} // namespace
} // namespace zelmora
