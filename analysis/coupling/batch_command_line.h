#pragma once

#include <string>

namespace zelmora {

// The command line that calculates a model: "<batch path> <project path> /c", nothing quoted.
std::string BatchCommandLine(const std::string& batchPath, const std::string& projectPath);

} // namespace zelmora
