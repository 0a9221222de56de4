#include "project/text_file.h"

#include <windows.h>

namespace zelmora {

namespace {

constexpr int DiskFull = 101;

} // namespace

// The codes are Windows error numbers already: "File not found" is ERROR_FILE_NOT_FOUND and so
// on. Only a full disk, which Windows reports in two ways, becomes the one code.
int IoCodeFromWindowsError(unsigned long error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        return DiskFull;
    }
    return static_cast<int>(error);
}

int IoCodeOfLastFailure(const std::string& /*path*/) {
    return IoCodeFromWindowsError(GetLastError());
}

} // namespace zelmora
