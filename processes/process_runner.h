#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace zelmora {

// How long one wait for a child process lasts at most, between calls of whatever waits on.
inline constexpr std::chrono::milliseconds ChildWaitInterval{20};

// Called every ChildWaitInterval while a child process runs.
using IdleCallback = std::function<void()>;

// Starts the command line as a child process and waits for it without a time limit. Returns
// its exit status, 128 + the signal number when a signal ended it, or -1 when it could not
// be started. The show mode has no effect on POSIX; on Windows it shows the child's console.
int ExecuteAndWait(const std::string& commandLine, std::uint16_t showMode,
                   const IdleCallback& idle = {});

} // namespace zelmora
