#pragma once

#include <sys/types.h>

namespace zelmora {

// The process's file-creation mask as /proc/self/status shows it. It is read rather than set
// and set back, which would race with other threads creating files. 077 when it cannot be
// read, so that a new file then stays private.
mode_t ProcessUmask();

} // namespace zelmora
