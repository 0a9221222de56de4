#include "project/move_aside.h"

#include "project/errors.h"
#include "project/io_code.h"

#include <windows.h>

namespace zelmora {

bool MoveAside(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing name is an error, never replaced.
    if (MoveFileExA(from.c_str(), to.c_str(), 0) != 0) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return false;
    }
    throw EInOutError(IoCodeFromWindowsError(error));
}

} // namespace zelmora
