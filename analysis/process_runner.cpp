#include "analysis/process_runner.h"

#include "analysis/command_line.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace zelmora {

namespace {

constexpr long IdleIntervalNanoseconds = 20'000'000;

// The attributes and descriptor actions of a child in a session of its own, reading from
// /dev/null and holding no descriptor of ours but standard output and error.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_init(&actions_);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes_, &signals);
        sigfillset(&signals);
        sigdelset(&signals, SIGKILL);
        sigdelset(&signals, SIGSTOP);
        posix_spawnattr_setsigdefault(&attributes_, &signals);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                   POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }

    const posix_spawnattr_t* attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }

private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};

int ExitStatus(int status) {
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

int WaitBlocking(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return ExitStatus(status);
}

int WaitPolling(pid_t child, const IdleCallback& idle) {
    const timespec interval{0, IdleIntervalNanoseconds};
    while (true) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) {
            return ExitStatus(status);
        }
        if (ended < 0 && errno != EINTR) {
            return -1;
        }
        idle();
        nanosleep(&interval, nullptr);
    }
}

} // namespace

int ExecuteAndWait(const std::string& commandLine, std::uint16_t /*showMode*/,
                   const IdleCallback& idle) {
    const std::optional<ResolvedCommand> command = ResolveCommandLine(commandLine, LocateProgram);
    if (!command) {
        return -1;
    }
    std::vector<char*> arguments;
    for (const std::string& word : command->words) {
        arguments.push_back(const_cast<char*>(word.c_str()));
    }
    arguments.push_back(nullptr);

    const SpawnSetup setup;
    pid_t child = 0;
    if (posix_spawn(&child, command->programPath.c_str(), setup.actions(), setup.attributes(),
                    arguments.data(), environ) != 0) {
        return -1;
    }
    return idle ? WaitPolling(child, idle) : WaitBlocking(child);
}

} // namespace zelmora
