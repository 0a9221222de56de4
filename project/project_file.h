#pragma once

#include <string>

namespace zelmora {

// Writes the 49-line project file from State. Saving is atomic: an existing file is replaced
// only once the new one is complete.
void WriteProjectFile(const std::string& fileName);

// The bytes WriteProjectFile writes for State.
std::string ProjectFileText();

// Reads a project file into State; nothing changes unless the whole file was read.
void ReadProjectFile(const std::string& fileName);

} // namespace zelmora
