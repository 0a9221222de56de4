#include "processes/calculator_start.h"

#include "processes/command_line.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zelmora {

namespace {

// A descriptor of /dev/null above the standard ones, for the child's input.
int OpenNullAboveStandard() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    const int high = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return high;
}

// Runs in the child between fork and exec: system calls only. Reports a failure's errno
// through `report`, which exec closes when it succeeds.
[[noreturn]] void BecomeCalculator(const char* program, char* const* arguments, int null,
                                   int outputFd, const char* startsIn, int report, pid_t parent) {
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP) {
            sigaction(signal, &standard, nullptr);
        }
    }
    if (outputFd >= 0) {
        dup2(outputFd, STDOUT_FILENO);
        dup2(outputFd, STDERR_FILENO);
    }
    dup2(null, STDIN_FILENO);
    // Every other descriptor closes at exec; the report's closes only then.
    close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before the death signal was set.
    if (getppid() != parent) {
        _exit(127);
    }
    if (startsIn[0] == '\0' || chdir(startsIn) == 0) {
        execve(program, arguments, environ);
    }
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
    _exit(127);
}

} // namespace

pid_t StartCalculatorProcess(const std::string& commandLine, int outputFd,
                             const std::string& startsIn) {
    std::optional<ResolvedCommand> command =
        ResolveCommandLine(commandLine, FolderLocator(startsIn));
    if (!command) {
        return -1;
    }
    std::vector<char*> arguments = ArgumentPointers(*command);
    const int null = OpenNullAboveStandard();
    int report[2];
    if (null < 0 || pipe2(report, O_CLOEXEC) != 0) {
        if (null >= 0) {
            ::close(null);
        }
        return -1;
    }
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        BecomeCalculator(command->programPath.c_str(), arguments.data(), null, outputFd,
                         startsIn.c_str(), report[1], parent);
    }
    ::close(report[1]);
    ::close(null);
    int error = 0;
    ssize_t got = 0;
    do {
        got = child > 0 ? ::read(report[0], &error, sizeof error) : -1;
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (child < 0) {
        return -1;
    }
    if (got != 0) {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        return -1;
    }
    return child;
}

} // namespace zelmora
