#include "project/standard_streams.h"

namespace zelmora {

// A Windows program started without a stream gets an invalid handle there, which no file the
// program opens later takes: there is nothing to do.
void ReopenClosedStandardStreams() {}

} // namespace zelmora
