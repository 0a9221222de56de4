#include "cli/stop_signals.h"

#include <csignal>
#include <initializer_list>

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
    // A closed terminal and a reader that went away (`| head`) stop the analysis too; the write
    // that meets the closed pipe then fails instead of ending the program.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaction(signal, &action, nullptr);
    }
}

bool StopSignalled() {
    return stopSignalled != 0;
}

} // namespace zelmora::batch
