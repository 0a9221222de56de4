#pragma once

#include <spawn.h>
#include <string>
#include <sys/types.h>

namespace zelmora {

// The attributes and descriptor actions of a child in a session of its own, reading from
// /dev/null and holding no descriptor of ours but standard output and error, which go to
// outputFd when it is not -1.
class SpawnSetup {
public:
    explicit SpawnSetup(int outputFd = -1);
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup();

    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};

// Starts the program of a command line, found as ResolveCommandLine finds it, with SpawnSetup's
// attributes. Returns its process id, or -1 when it cannot be started.
pid_t SpawnCommandLine(const std::string& commandLine, int outputFd);

// The status ExecuteAndWait reports for a waitpid status: the exit code, or 128 + the signal.
int ExitStatus(int waitStatus);

} // namespace zelmora
