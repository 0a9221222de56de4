#include "processes/process_runner.h"

#include "processes/spawn_setup.h"

#include <cerrno>
#include <ctime>
#include <sys/wait.h>

namespace zelmora {

namespace {

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
    const timespec interval{
        0, std::chrono::duration_cast<std::chrono::nanoseconds>(ChildWaitInterval).count()};
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
    const pid_t child = SpawnCommandLine(commandLine, -1);
    if (child < 0) {
        return -1;
    }
    return idle ? WaitPolling(child, idle) : WaitBlocking(child);
}

} // namespace zelmora
