#include "analysis/project_folder.h"

#include "processes/calculator_lookup.h"
#include "processes/command_line.h"

#include <filesystem>

namespace zelmora {

std::string ProjectFolderOf(const std::string& projectFile) {
    if (projectFile.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(projectFile, error);
    return error ? std::string() : full.lexically_normal().parent_path().string();
}

std::optional<std::string> MovedFolderNote(const std::string& oldFolder,
                                           const std::string& newFolder,
                                           const std::string& batchPath,
                                           const std::string& projectPath) {
    std::error_code error;
    const std::string before =
        oldFolder.empty() ? std::filesystem::current_path(error).string() : oldFolder;
    const std::string program = IntendedProgram(batchPath);
    const bool relativeModel =
        !projectPath.empty() && std::filesystem::path(projectPath).is_relative();
    const bool relativeProgram = InFolder(newFolder, program) != program;
    if (newFolder.empty() || before == newFolder || !(relativeModel || relativeProgram)) {
        return std::nullopt;
    }
    return "The project's relative paths now refer to its new folder: " + newFolder;
}

} // namespace zelmora
