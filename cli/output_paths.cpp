#include "cli/output_paths.h"

#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/file_identity.h"
#include "analysis/workcopies/work_folder.h"
#include "cli/same_path.h"
#include "project/errors.h"
#include "project/foreign_link.h"
#include "project/project_state.h"
#include "study/study.h"

#include <filesystem>
#include <vector>

namespace zelmora::batch {

namespace {

namespace fs = std::filesystem;

fs::path Resolved(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    const fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : resolved;
}

bool SameIdentity(const FileIdentity& a, const FileIdentity& b) {
    return a.device == b.device && a.inode == b.inode;
}

bool SameFile(const std::string& a, const std::string& b) {
    const auto first = IdentityOfPath(a);
    const auto second = IdentityOfPath(b);
    if (first && second) {
        return SameIdentity(*first, *second);
    }
    return SamePath(Resolved(a), Resolved(b));
}

// The path is the folder or lies somewhere below it.
bool WithinFolder(const std::string& path, const std::string& folder) {
    const auto folderIdentity = IdentityOfPath(folder);
    const fs::path resolvedFolder = Resolved(folder);
    for (fs::path p = Resolved(path);; p = p.parent_path()) {
        if (folderIdentity) {
            const auto identity = IdentityOfPath(p.string());
            if (identity && SameIdentity(*identity, *folderIdentity)) {
                return true;
            }
        } else if (SamePath(p, resolvedFolder)) {
            return true;
        }
        if (p == p.parent_path()) {
            return false;
        }
    }
}

struct Input {
    std::string what;
    std::string path;
    bool folder;
};

bool Overlaps(const std::string& output, const Input& input) {
    return input.folder ? WithinFolder(output, input.path) : SameFile(output, input.path);
}

void Refuse(const std::string& option, const std::string& output, const Input& input) {
    throw Error(option + " must not write onto " + input.what + ": " + output);
}

std::vector<Input> Folders() {
    return {{"the model's data folder", DataFolderPath(State.ProjectPath), true},
            {"the model's work folder", WorkFolderPath(State.ProjectPath), true}};
}

// The save checks this again as it writes; here it refuses before any run.
void CheckNotForeignLink(const std::string& option, const std::string& output) {
    if (FollowsForeignLink(output)) {
        throw Error(option +
                    " must not write through another user's link in a folder others "
                    "may write: " +
                    output);
    }
}

void CheckOutput(const std::string& option, const std::string& output,
                 const std::string& projectFile) {
    if (output.empty() || output == "-") {
        return;
    }
    CheckNotForeignLink(option, output);
    std::vector<Input> inputs{{"the project file", projectFile, false},
                              {"the study file", StudyFileName(projectFile), false},
                              {"the model file", State.ProjectPath, false}};
    for (Input& folder : Folders()) {
        inputs.push_back(std::move(folder));
    }
    for (const Input& input : inputs) {
        if (Overlaps(output, input)) {
            Refuse(option, output, input);
        }
    }
}

void CheckSave(const std::string& projectFile) {
    CheckNotForeignLink("--save", projectFile);
    CheckNotForeignLink("--save", StudyFileName(projectFile));
    std::vector<Input> inputs{{"the model file", State.ProjectPath, false}};
    for (Input& folder : Folders()) {
        inputs.push_back(std::move(folder));
    }
    for (const Input& input : inputs) {
        if (Overlaps(projectFile, input)) {
            Refuse("--save", projectFile, input);
        }
    }
}

} // namespace

void CheckOutputsApartFromInputs(const BatchOptions& options) {
    CheckOutput("--json", options.jsonFile, options.projectFile);
    CheckOutput("--report", options.reportFile, options.projectFile);
    CheckOutput("--csv", options.csvFile, options.projectFile);
    if (options.save) {
        CheckSave(options.projectFile);
    }
}

} // namespace zelmora::batch
