#include "analysis/project_folder.h"

#include "processes/calculator_lookup.h"
#include "processes/command_line.h"
#include "project/project_state.h"

#include <filesystem>

namespace zelmora {

ModelPathFromFolder::ModelPathFromFolder(const std::string& projectFolder)
    : stored_(State.ProjectPath) {
    const std::filesystem::path model(stored_);
    if (!projectFolder.empty() && !stored_.empty() && model.is_relative()) {
        State.ProjectPath = (std::filesystem::path(projectFolder) / model).string();
    }
}

ModelPathFromFolder::~ModelPathFromFolder() {
    State.ProjectPath = stored_;
}

std::string ProjectFolderOf(const std::string& projectFile) {
    if (projectFile.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(projectFile, error);
    return error ? std::string() : full.lexically_normal().parent_path().string();
}

std::optional<std::string> MovedFolderNote(const std::string& oldFolder,
                                           const std::string& newFolder) {
    std::error_code error;
    const std::string before =
        oldFolder.empty() ? std::filesystem::current_path(error).string() : oldFolder;
    const std::string program = IntendedProgram(State.BatchPath);
    const bool relativeModel =
        !State.ProjectPath.empty() && std::filesystem::path(State.ProjectPath).is_relative();
    const bool relativeProgram = InFolder(newFolder, program) != program;
    if (newFolder.empty() || before == newFolder || !(relativeModel || relativeProgram)) {
        return std::nullopt;
    }
    return "The project's relative paths now refer to its new folder: " + newFolder;
}

} // namespace zelmora
