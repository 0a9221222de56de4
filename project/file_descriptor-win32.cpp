#include "project/file_descriptor.h"

#include "project/io_code.h"

#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace zelmora {

namespace {

constexpr int AccessDenied = 5;
constexpr int TooManyOpenFiles = 4;

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

DWORD Disposition(int flags) {
    if ((flags & O_CREAT) != 0) {
        return OPEN_ALWAYS;
    }
    return OPEN_EXISTING;
}

// Anything but a file on a disk (a console, a pipe, a device such as NUL or COM1) is refused:
// reading it may never end. A folder cannot be opened this way at all: access denied.
bool IsDiskFile(HANDLE handle) {
    return GetFileType(handle) == FILE_TYPE_DISK;
}

} // namespace

void CloseRecordingCode(int& fd, const std::string& /*name*/) {
    const int result = ::_close(fd);
    fd = -1;
    if (result != 0) {
        RecordIoCode(IoCodeFromWindowsError(_doserrno));
    }
}

// Readers and writers alike let others read the file meanwhile, and only read.
int OpenRegularFile(const std::string& name, int flags, mode_t /*mode*/) {
    const bool writing = (flags & (O_WRONLY | O_RDWR)) != 0;
    const HANDLE handle =
        CreateFileA(name.c_str(), writing ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                    writing ? Disposition(flags) : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        RecordIoCode(IoCodeFromWindowsError(GetLastError()));
        return -1;
    }
    if (!IsDiskFile(handle)) {
        CloseHandle(handle);
        RecordIoCode(AccessDenied);
        return -1;
    }
    // Emptied only now that it is known to be a file; a hidden file keeps its attributes.
    if ((flags & O_TRUNC) != 0 && !SetEndOfFile(handle)) {
        RecordIoCode(IoCodeFromWindowsError(GetLastError()));
        CloseHandle(handle);
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   (writing ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        RecordIoCode(TooManyOpenFiles);
    }
    return fd;
}

int OpenRegularFileNotLink(const std::string& name, int flags, mode_t mode) {
    return OpenRegularFile(name, flags, mode);
}

std::ptrdiff_t ReadRecordingCode(int fd, char* data, std::size_t size, const std::string& name) {
    DWORD count = 0;
    if (!ReadFile(HandleOf(fd), data, static_cast<DWORD>(size), &count, nullptr)) {
        if (GetLastError() == ERROR_HANDLE_EOF || GetLastError() == ERROR_BROKEN_PIPE) {
            return 0;
        }
        RecordIoCode(IoCodeOfLastFailure(name));
        return -1;
    }
    return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t SystemWrite(int fd, const char* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(HandleOf(fd), data, static_cast<DWORD>(size), &written, nullptr)) {
        return -1;
    }
    return static_cast<std::ptrdiff_t>(written);
}

bool WriteInterrupted() {
    return false;
}

} // namespace zelmora
