#pragma once

#include <string>

namespace zelmora {

// True when `fd` is open; otherwise records the code for an operation on a file that is not
// open.
bool RequireOpen(int fd);

// Closes `fd` and marks it closed; a failure other than an interruption records its code.
void CloseRecordingCode(int& fd, const std::string& name);

} // namespace zelmora
