#pragma once

namespace zelmora {

// Opens /dev/null on each of standard input, output and error that the program was started
// without, so that no file the program opens later takes that number and receives what is meant
// for the stream. Call first thing in main.
void ReopenClosedStandardStreams();

} // namespace zelmora
