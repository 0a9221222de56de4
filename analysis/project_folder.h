#pragma once

#include <optional>
#include <string>

namespace zelmora {

// The folder of a project file, in full; empty for an empty name.
std::string ProjectFolderOf(const std::string& projectFile);

// After the project file moved from `oldFolder` (empty: never saved, so our current folder) to
// `newFolder`: the one line that says the relative paths among the calculator and model paths
// now refer to the new folder, or nothing when they do not change or there are none.
std::optional<std::string> MovedFolderNote(const std::string& oldFolder,
                                           const std::string& newFolder,
                                           const std::string& batchPath,
                                           const std::string& projectPath);

} // namespace zelmora
