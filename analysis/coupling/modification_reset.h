#pragma once

#include <string>

namespace zelmora {

// The bytes of a modification file without modifications.
inline constexpr const char* NoModifications = "0\r\n";

// Rewrites an existing modification file that holds anything but NoModifications to hold
// exactly that, never following a link (POSIX: O_NOFOLLOW). Returns true when it rewrote it;
// throws the input/output error of a rewrite that failed. A file that is not there, or is not a
// regular file, is left alone.
bool ResetLeftModifications(const std::string& path);

} // namespace zelmora
