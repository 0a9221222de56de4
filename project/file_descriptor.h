#pragma once

#include <string>
#include <sys/types.h>

namespace zelmora {

// True when `fd` is open; otherwise records the code for an operation on a file that is not
// open.
bool RequireOpen(int fd);

// Closes `fd` and marks it closed; a failure other than an interruption records its code.
void CloseRecordingCode(int& fd, const std::string& name);

// Opens `name` with `flags` (and `mode` when it is created) only as a regular file: anything
// else that exists there, a pipe, a device, a socket or a folder, is refused with "access
// denied", so no open waits for a partner and no read runs without end. The type is checked
// before the open and again on the open descriptor, which is opened without blocking for the
// case that the name was replaced in between. Returns -1 with the code recorded on failure.
int OpenRegularFile(const std::string& name, int flags, mode_t mode = 0);

} // namespace zelmora
