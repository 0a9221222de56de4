#pragma once

#include <exception>
#include <string>
#include <system_error>

namespace zelmora {

// The pending input/output code of this thread, 0 when none. A failing text-file operation
// stores its code here; only CheckIo clears it.
int PendingIoCode();
void RecordIoCode(int code);

// Raises EInOutError for a pending code and clears it; does nothing when none is pending.
void CheckIo();

// The pending code as an EInOutError to raise later, cleared; nullptr when none is pending.
std::exception_ptr TakePendingIoError();

// Maps an errno value of a failed operation on `path` to the system's input/output code (POSIX).
int IoCodeFromErrno(int error, const std::string& path);

// Maps a Windows error number to the code (Windows): the number itself, but a full disk is 101.
int IoCodeFromWindowsError(unsigned long error);

// The code of a failed std::filesystem operation on `path`.
int IoCodeFromErrorCode(const std::error_code& error, const std::string& path);

// The code of the system call on `path` that has just failed, from errno or GetLastError().
int IoCodeOfLastFailure(const std::string& path);

} // namespace zelmora
