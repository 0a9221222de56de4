// The calculator under our own init, the first process of a user and PID namespace of their
// own (see calculator_start.h).
#include "processes/calculator_child.h"
#include "processes/calculator_start.h"
#include "processes/spawn_setup.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <linux/close_range.h>
#include <sched.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelmora {

namespace {

// SIGKILL from outside ends the init, and the kernel ends everything in its namespace with it.
constexpr int Forwarded[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2};

constexpr std::size_t InitStackSize = std::size_t{256} * 1024;

void Forward(int signal) {
    const int saved = errno;
    // The init itself is left out of -1.
    kill(-1, signal);
    errno = saved;
}

struct InitArguments {
    const PreparedCalculator* calculator; // none: the probe, which only ends
    int go;                               // one byte once our ids are mapped; an end: give up
    int goWriter;
};

bool AwaitGo(int go) {
    char byte = 0;
    ssize_t got = 0;
    do {
        got = ::read(go, &byte, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1;
}

// The calculator is forked by the system call itself: the C library's fork would take locks
// that another of our threads may have held when the init was cloned. The init runs on a stack
// of our own making, which AddressSanitizer cannot tell from a thread's and warns of on standard
// error, where a calculator's output must be ours alone: its code stays uninstrumented.
[[noreturn, gnu::no_sanitize_address]] void RunInit(const PreparedCalculator& calculator) {
    setsid();
    struct sigaction forward {};
    forward.sa_handler = Forward;
    sigemptyset(&forward.sa_mask);
    for (const int signal : Forwarded) {
        sigaction(signal, &forward, nullptr);
    }
    const long child = syscall(SYS_clone, SIGCHLD, nullptr, nullptr, nullptr, 0);
    if (child == 0) {
        calculator.Become(1);
    }
    if (child < 0) {
        calculator.Fail();
    }
    close_range(STDERR_FILENO + 1, ~0U, 0);
    while (true) {
        int status = 0;
        const pid_t ended = waitpid(-1, &status, 0);
        if (ended == child) {
            _exit(ExitStatus(status));
        }
        if (ended < 0 && errno == ECHILD) {
            _exit(127);
        }
    }
}

[[gnu::no_sanitize_address]] int InitMain(void* data) {
    const InitArguments& arguments = *static_cast<const InitArguments*>(data);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::close(arguments.goWriter);
    if (!AwaitGo(arguments.go) || arguments.calculator == nullptr) {
        _exit(arguments.calculator == nullptr ? 0 : 127);
    }
    RunInit(*arguments.calculator);
}

pid_t CloneInit(InitArguments& arguments) {
    // The child runs on its own copy of this memory: no CLONE_VM.
    std::vector<char> stack(InitStackSize);
    return clone(InitMain, stack.data() + stack.size(), CLONE_NEWUSER | CLONE_NEWPID | SIGCHLD,
                 &arguments);
}

bool WriteProcFile(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

// Every id our own namespace knows, each as itself: how root keeps its powers over files.
std::string IdentityOf(const std::string& ourMap) {
    std::ifstream file(ourMap);
    std::ostringstream identity;
    for (unsigned long inside = 0, outside = 0, count = 0; file >> inside >> outside >> count;) {
        identity << inside << ' ' << inside << ' ' << count << '\n';
    }
    return identity.str();
}

// The namespace's user and group ids are ours: all of our namespace's for root, else our own.
bool MapOurIds(pid_t init) {
    const std::string proc = "/proc/" + std::to_string(init) + "/";
    const std::string uid = std::to_string(geteuid());
    const std::string gid = std::to_string(getegid());
    const bool root = geteuid() == 0;
    const bool users =
        (root && WriteProcFile(proc + "uid_map", IdentityOf("/proc/self/uid_map"))) ||
        WriteProcFile(proc + "uid_map", uid + " " + uid + " 1\n");
    return users && ((root && WriteProcFile(proc + "gid_map", IdentityOf("/proc/self/gid_map"))) ||
                     (WriteProcFile(proc + "setgroups", "deny") &&
                      WriteProcFile(proc + "gid_map", gid + " " + gid + " 1\n")));
}

void Reap(pid_t pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// The init, its ids mapped and told to go on; -1 after a failure, nothing left running.
pid_t StartInit(const PreparedCalculator* calculator) {
    int go[2];
    if (pipe2(go, O_CLOEXEC) != 0) {
        return -1;
    }
    InitArguments arguments{calculator, go[0], go[1]};
    const pid_t init = CloneInit(arguments);
    ::close(go[0]);
    const bool mapped = init > 0 && MapOurIds(init);
    if (mapped) {
        [[maybe_unused]] const ssize_t written = ::write(go[1], "g", 1);
    }
    ::close(go[1]);
    if (init > 0 && !mapped) {
        kill(init, SIGKILL);
        Reap(init);
        return -1;
    }
    return init;
}

bool Probe() {
    const pid_t init = StartInit(nullptr);
    if (init < 0) {
        return false;
    }
    int status = 0;
    while (waitpid(init, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

pid_t StartCalculatorInNamespaces(const CalculatorStart& start) {
    PreparedCalculator calculator(start);
    if (!calculator.Ready()) {
        return -1;
    }
    const pid_t init = StartInit(&calculator);
    return init < 0 ? -1 : calculator.AwaitExec(init);
}

bool NamespacesWork() {
    static const bool works = Probe();
    return works;
}

} // namespace zelmora
