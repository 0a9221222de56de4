#include "processes/calculator_child.h"

#include "processes/run_marker.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::vector<std::string> OurEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
    }
    return entries;
}

void Close(int& fd) {
    if (fd >= 0) {
        ::close(fd);
    }
    fd = -1;
}

} // namespace

PreparedCalculator::PreparedCalculator(const CalculatorStart& start)
    : command_(ResolveCommandLine(start.commandLine, FolderLocator(start.startsIn))),
      environment_(MarkedEnvironment(OurEnvironment(), start.marker)), outputFd_(start.outputFd),
      startsIn_(start.startsIn), cgroupProcsFd_(start.cgroupProcsFd) {
    if (!command_) {
        return;
    }
    arguments_ = ArgumentPointers(*command_);
    for (std::string& entry : environment_) {
        environmentPointers_.push_back(entry.data());
    }
    environmentPointers_.push_back(nullptr);
    null_ = OpenNullAboveStandard();
    ready_ = null_ >= 0 && pipe2(report_, O_CLOEXEC) == 0;
}

PreparedCalculator::~PreparedCalculator() {
    Close(null_);
    Close(report_[0]);
    Close(report_[1]);
}

// Uninstrumented: it may run on the namespace init's stack (see namespace_start-posix.cpp).
[[gnu::no_sanitize_address]] void PreparedCalculator::Become(pid_t parent) const {
    if (cgroupProcsFd_ >= 0 && ::write(cgroupProcsFd_, "0", 1) != 1) {
        Fail();
    }
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
    if (outputFd_ >= 0) {
        dup2(outputFd_, STDOUT_FILENO);
        dup2(outputFd_, STDERR_FILENO);
    }
    dup2(null_, STDIN_FILENO);
    // Every other descriptor closes at exec; the report's closes only then.
    close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have ended before the death signal was set.
    if (getppid() != parent) {
        _exit(127);
    }
    if (startsIn_.empty() || chdir(startsIn_.c_str()) == 0) {
        execve(command_->programPath.c_str(), arguments_.data(), environmentPointers_.data());
    }
    Fail();
}

[[gnu::no_sanitize_address]] void PreparedCalculator::Fail() const {
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(report_[1], &error, sizeof error);
    _exit(127);
}

pid_t PreparedCalculator::AwaitExec(pid_t child) {
    Close(report_[1]);
    Close(null_);
    int error = 0;
    ssize_t got = 0;
    do {
        got = child > 0 ? ::read(report_[0], &error, sizeof error) : -1;
    } while (got < 0 && errno == EINTR);
    Close(report_[0]);
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
