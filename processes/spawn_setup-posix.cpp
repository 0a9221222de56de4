#include "processes/spawn_setup.h"

#include "processes/command_line.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace zelmora {

SpawnSetup::SpawnSetup(int outputFd) {
    posix_spawnattr_init(&attributes_);
    posix_spawn_file_actions_init(&actions_);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes_, &signals);
    sigfillset(&signals);
    sigdelset(&signals, SIGKILL);
    sigdelset(&signals, SIGSTOP);
    posix_spawnattr_setsigdefault(&attributes_, &signals);
    posix_spawnattr_setflags(&attributes_,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions_, outputFd, 1);
        posix_spawn_file_actions_adddup2(&actions_, outputFd, 2);
    }
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
}

SpawnSetup::~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
}

pid_t SpawnCommandLine(const std::string& commandLine, int outputFd) {
    std::optional<ResolvedCommand> command = ResolveCommandLine(commandLine, LocateProgram);
    if (!command) {
        return -1;
    }
    std::vector<char*> arguments = ArgumentPointers(*command);
    const SpawnSetup setup(outputFd);
    pid_t child = 0;
    if (posix_spawn(&child, command->programPath.c_str(), setup.actions(), setup.attributes(),
                    arguments.data(), environ) != 0) {
        return -1;
    }
    return child;
}

int ExitStatus(int waitStatus) {
    if (WIFSIGNALED(waitStatus)) {
        return 128 + WTERMSIG(waitStatus);
    }
    return WEXITSTATUS(waitStatus);
}

} // namespace zelmora
