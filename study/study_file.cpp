#include "study/study_file.h"

#include "project/errors.h"
#include "project/project_file.h"
#include "project/sha256.h"
#include "project/whole_file.h"
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

std::string Unreadable(const std::string& studyFile, const std::string& why) {
    return "The study file " + studyFile + " cannot be read (" + why +
           "); the project is opened without it.";
}

} // namespace

OpenedStudy ReadStudyOf(const std::string& projectFile) {
    const std::string studyFile = StudyFileName(projectFile);
    std::string text;
    try {
        text = ReadWholeFile(studyFile, MaxStudyBytes);
    } catch (const EInOutError& error) {
        return {{}, Missing(error) ? std::string() : Unreadable(studyFile, error.what())};
    }
    if (text.size() > MaxStudyBytes) {
        return {{}, Unreadable(studyFile, "larger than 16 MiB")};
    }
    StudyContent content;
    try {
        content = ParseStudy(text);
    } catch (const EStudyContent& error) {
        return {{}, Unreadable(studyFile, error.what())};
    }
    if (content.projectFileSha256 != ProjectFileDigest(projectFile)) {
        content.study.analysisJson.clear();
        return {content.study, "The study file " + studyFile +
                                   " does not match the project file; its settings are kept, "
                                   "its results are not."};
    }
    return {content.study, {}};
}

void SaveStudyAndProject(const std::string& projectFile, const Study& study) {
    if (!projectFile.empty()) {
        const StudyContent content{study, Sha256Hex(ProjectFileText())};
        SaveWholeFile(StudyFileName(projectFile), StudyJson(content));
    }
    WriteProjectFile(projectFile);
}

} // namespace zelmora
