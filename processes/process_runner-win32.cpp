#include "processes/process_runner.h"

#include <vector>
#include <windows.h>

namespace zelmora {

namespace {

void WaitPolling(HANDLE process, const IdleCallback& idle) {
    while (WaitForSingleObject(process, static_cast<DWORD>(ChildWaitInterval.count())) ==
           WAIT_TIMEOUT) {
        idle();
    }
}

} // namespace

// CreateProcessA finds the program itself: an unquoted path with blanks is tried word by word.
// The command line is copied whole, as long as it is.
int ExecuteAndWait(const std::string& commandLine, std::uint16_t showMode,
                   const IdleCallback& idle) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showMode;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    if (idle) {
        WaitPolling(process.hProcess, idle);
    } else {
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

} // namespace zelmora
