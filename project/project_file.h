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

// Refuses a file that ends before the line of its step size (line 23): empty, or with its lines
// ended by CR alone, it reads without error as a project of zeros, which is no Zelmora project.
void RequireProjectFileLines(const std::string& fileName);

} // namespace zelmora
