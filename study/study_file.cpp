#include "study/study_file.h"

#include "project/errors.h"
#include "project/foreign_link.h"
#include "project/move_aside.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/sha256.h"
#include "project/whole_file.h"
#include "study/kept_analysis_check.h"
#include "study/study_json.h"

namespace zelmora {

namespace {

constexpr std::size_t MaxStudyBytes = std::size_t{16} * 1024 * 1024;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;

bool Missing(const EInOutError& error) {
    return error.code == FileNotFound || error.code == PathNotFound;
}

// The digest of the project file as it lies there; empty when it cannot be read.
std::string ProjectFileDigest(const std::string& projectFile) {
    try {
        const std::string bytes = ReadWholeFile(projectFile, MaxStudyBytes);
        return bytes.size() > MaxStudyBytes ? std::string() : Sha256Hex(bytes);
    } catch (const Error&) {
        return {};
    }
}

OpenedStudy Unreadable(const std::string& studyFile, const std::string& why) {
    return {{},
            "The study file " + studyFile + " cannot be read (" + why +
                "); the project is opened without it.",
            why};
}

// Moves a study file that cannot be read out of the way of a save.
std::string KeepUnreadableStudy(const std::string& projectFile) {
    const OpenedStudy there = ReadStudyOf(projectFile);
    if (there.unreadable.empty()) {
        return {};
    }
    const std::string studyFile = StudyFileName(projectFile);
    const std::string kept = studyFile + ".unreadable";
    if (!MoveAside(studyFile, kept)) {
        throw Error("Nothing is saved: the study file " + studyFile + " cannot be read (" +
                    there.unreadable + "), and " + kept +
                    ", where it would be kept, exists already.");
    }
    return "The study file " + studyFile + " could not be read (" + there.unreadable +
           "); it is kept as " + kept + ".";
}

} // namespace

OpenedStudy ReadStudyOf(const std::string& projectFile) {
    const std::string studyFile = StudyFileName(projectFile);
    if (FollowsForeignLink(studyFile)) {
        return Unreadable(studyFile, "it is another user's link in a folder others may write");
    }
    std::string text;
    try {
        text = ReadWholeFile(studyFile, MaxStudyBytes);
    } catch (const EInOutError& error) {
        return Missing(error) ? OpenedStudy{} : Unreadable(studyFile, error.what());
    }
    if (text.size() > MaxStudyBytes) {
        return Unreadable(studyFile, "larger than 16 MiB");
    }
    // Another user could have planted it with results of their making.
    if (OwnedByAnotherUser(studyFile)) {
        return Unreadable(studyFile, "it belongs to another user");
    }
    StudyContent content;
    try {
        content = ParseStudy(text);
    } catch (const EStudyContent& error) {
        return Unreadable(studyFile, error.what());
    }
    if (content.projectFileSha256 != ProjectFileDigest(projectFile)) {
        content.study.analysisJson.clear();
        return {content.study,
                "The study file " + studyFile +
                    " does not match the project file; its settings are kept, its results are "
                    "not.",
                {}};
    }
    if (!content.study.analysisJson.empty() &&
        !KeptAnalysisAgrees(content.study.analysisJson, State)) {
        content.study.analysisJson.clear();
        return {content.study,
                "The study's kept results do not agree with its runs; they are not shown.",
                {}};
    }
    return {content.study, {}, {}};
}

void RefuseUnreadableStudy(const std::string& projectFile, const OpenedStudy& opened) {
    if (!opened.unreadable.empty()) {
        throw Error("The study file " + StudyFileName(projectFile) + " cannot be read (" +
                    opened.unreadable + "); nothing is run or saved, and it is left as it is.");
    }
}

std::string SaveStudyAndProject(const std::string& projectFile, const Study& study) {
    std::string note;
    if (!projectFile.empty()) {
        note = KeepUnreadableStudy(projectFile);
        const StudyContent content{study, Sha256Hex(ProjectFileText())};
        SaveWholeFile(StudyFileName(projectFile), StudyJson(content));
    }
    WriteProjectFile(projectFile);
    return note;
}

} // namespace zelmora
