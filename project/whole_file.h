#pragma once

#include <functional>
#include <string>

namespace zelmora {

class TextOutput;

// Writes a text file through `write`, the way Save writes a project file: an old file is
// replaced only by a complete new one; failures raise the input/output errors with their
// messages.
void SaveTextFile(const std::string& fileName, const std::function<void(TextOutput&)>& write);

// Writes `text` as the whole file, likewise.
void SaveWholeFile(const std::string& fileName, const std::string& text);

} // namespace zelmora
