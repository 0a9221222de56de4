#pragma once

#include <string>
#include <windows.h>

namespace windows_test {

// The Windows form of a path the build system gave in Unix form: Wine shows "/" as drive Z.
inline std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path.starts_with('\\') ? "Z:" + path : path;
}

// True while the process with this id runs.
inline bool ProcessRuns(DWORD id) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) {
        return false;
    }
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

} // namespace windows_test
