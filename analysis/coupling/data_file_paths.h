#pragma once

#include <string>

namespace zelmora {

// Sets State.ModificationFilePath and State.ResultFilePath from the project path and name.
void DeriveDataFilePaths();

// The data files' common part for a project path and name: the path without its last three
// characters, the data folder's suffix and the name.
std::string DataFileBase(const std::string& projectPath, const std::string& projectName);

// The project's data folder, without a separator at its end: the project path without its last
// three characters (a shorter path whole), then "dta".
std::string DataFolderPath(const std::string& projectPath);

} // namespace zelmora
