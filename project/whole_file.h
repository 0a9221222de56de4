#pragma once

#include <string>

namespace zelmora {

// Writes a whole text file as Save writes a project file: an old file is replaced only by a
// complete new one; failures raise the input/output errors with their messages.
void SaveWholeFile(const std::string& fileName, const std::string& text);

} // namespace zelmora
