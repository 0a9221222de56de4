#include "project/io_code.h"

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

// The library reports some failures as Windows error numbers and others as errno values.
int IoCodeFromErrorCode(const std::error_code& error, const std::string& /*path*/) {
    if (error.category() == std::system_category()) {
        return IoCodeFromWindowsError(static_cast<unsigned long>(error.value()));
    }
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (condition == std::errc::permission_denied) {
        return ERROR_ACCESS_DENIED;
    }
    if (condition == std::errc::no_space_on_device) {
        return DiskFull;
    }
    return 1000 + error.value();
}

int IoCodeOfLastFailure(const std::string& /*path*/) {
    return IoCodeFromWindowsError(GetLastError());
}

} // namespace zelmora
