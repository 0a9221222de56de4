#pragma once

#include <cstddef>
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

// The bytes of a regular file, opened as the text files open theirs (a pipe, a device or a link
// to one is refused with "File access denied"), at most `limit` + 1 of them, so that a caller
// sees a file beyond its limit without reading it all. Failures raise the input/output errors.
std::string ReadWholeFile(const std::string& fileName, std::size_t limit);

} // namespace zelmora
