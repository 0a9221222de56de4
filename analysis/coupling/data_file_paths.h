#pragma once

#include <string>

namespace zelmora {

// The two files in the model's data folder that an analysis meets the calculator through.
struct DataFiles {
    std::string modification; // "<base>.mmt": what the calculator is to change
    std::string result;       // "<base>.hxx": what it found
};

// The data files of a project path and name.
DataFiles DataFilesOf(const std::string& projectPath, const std::string& projectName);

// The data files' common part for a project path and name: the path without its last three
// characters, the data folder's suffix and the name.
std::string DataFileBase(const std::string& projectPath, const std::string& projectName);

// The project's data folder, without a separator at its end: the project path without its last
// three characters (a shorter path whole), then "dta".
std::string DataFolderPath(const std::string& projectPath);

} // namespace zelmora
