#include "cli/stop_signals.h"

#include <csignal>

namespace zelmora::batch {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void NoteStop(int /*signal*/) {
    stopSignalled = 1;
}

} // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalled() {
    return stopSignalled != 0;
}

} // namespace zelmora::batch
