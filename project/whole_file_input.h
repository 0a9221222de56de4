#pragma once

#include <cstddef>
#include <string>

namespace zelmora {

// The bytes of a regular file, opened as the text files open theirs (a pipe, a device or a link
// to one is refused with "File access denied"), at most `limit` + 1 of them, so that a caller
// sees a file beyond its limit without reading it all. Failures raise the input/output errors.
std::string ReadWholeFile(const std::string& fileName, std::size_t limit);

} // namespace zelmora
