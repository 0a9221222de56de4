#pragma once

#include <cstddef>
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
// On Windows the descriptor is the C runtime's, over a handle that lets others read the file.
int OpenRegularFile(const std::string& name, int flags, mode_t mode = 0);

// As OpenRegularFile, but a symbolic link at the end of the name is refused with "access
// denied" (O_NOFOLLOW), so that a write cannot be led out of the folder. On Windows as
// OpenRegularFile.
int OpenRegularFileNotLink(const std::string& name, int flags, mode_t mode = 0);

// Reads up to `size` bytes: their count, 0 at the end of the file, or -1 with the code recorded.
std::ptrdiff_t ReadRecordingCode(int fd, char* data, std::size_t size, const std::string& name);

// Hands bytes to the system as write(2) does: the count written, or -1 with the failure left in
// errno (POSIX) or GetLastError() (Windows) for IoCodeOfLastFailure.
std::ptrdiff_t SystemWrite(int fd, const char* data, std::size_t size);

// True when the write that just failed was only interrupted and is to be tried again.
bool WriteInterrupted();

} // namespace zelmora
