#pragma once

namespace zelmora::batch {

// SIGINT, SIGTERM, SIGHUP and SIGPIPE (on Windows Ctrl-C and Ctrl-Break) ask the analysis to
// stop instead of ending the program at once.
void CatchStopSignals();
bool StopSignalled();

} // namespace zelmora::batch
