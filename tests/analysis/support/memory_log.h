#pragma once

// The name the fault tests use for the shared in-memory calculation log.
#include "tests/support/memory_log.h"

namespace zelmora::testing {

using test_support::MemoryLog;

} // namespace zelmora::testing
