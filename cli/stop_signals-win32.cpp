#include "cli/stop_signals.h"

#include <atomic>
#include <windows.h>

namespace zelmora::batch {

namespace {

std::atomic<bool> stopSignalled = false;

// Runs on a thread of its own that Windows starts for the event. TRUE keeps the program from
// ending at once.
BOOL WINAPI NoteStop(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        stopSignalled = true;
        return TRUE;
    }
    return FALSE;
}

} // namespace

void CatchStopSignals() {
    SetConsoleCtrlHandler(NoteStop, TRUE);
}

bool StopSignalled() {
    return stopSignalled;
}

} // namespace zelmora::batch
