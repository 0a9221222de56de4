#include "processes/run_cgroup.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zelmora {

namespace {

std::string ReadAt(int folder, const char* name) {
    const int fd = openat(folder, name, O_RDONLY | O_CLOEXEC);
    std::string text;
    if (fd < 0) {
        return text;
    }
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        text.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    ::close(fd);
    return text;
}

// Removing waits this long for the kernel to let the killed members go.
constexpr std::chrono::seconds RemovalWait{2};

} // namespace

std::unique_ptr<RunCgroup> RunCgroup::Make(const std::string& parent, const std::string& name) {
    const std::string path = parent + "/" + name;
    if (mkdir(path.c_str(), 0755) != 0) {
        return nullptr;
    }
    const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        rmdir(path.c_str());
        return nullptr;
    }
    return std::unique_ptr<RunCgroup>(new RunCgroup(folder, path));
}

RunCgroup::RunCgroup(int folder, std::string path) : folder_(folder), path_(std::move(path)) {}

RunCgroup::~RunCgroup() {
    const auto deadline = std::chrono::steady_clock::now() + RemovalWait;
    while (rmdir(path_.c_str()) != 0 && errno == EBUSY &&
           std::chrono::steady_clock::now() < deadline) {
        Signal(SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::close(folder_);
}

int RunCgroup::OpenProcs() const {
    return openat(folder_, "cgroup.procs", O_WRONLY | O_CLOEXEC);
}

std::vector<pid_t> RunCgroup::Members() const {
    std::istringstream text(ReadAt(folder_, "cgroup.procs"));
    std::vector<pid_t> members;
    for (pid_t pid = 0; text >> pid;) {
        members.push_back(pid);
    }
    return members;
}

void RunCgroup::Signal(int signal) const {
    if (signal == SIGKILL && WriteControl("cgroup.kill", "1")) {
        return;
    }
    for (const pid_t pid : Members()) {
        kill(pid, signal);
    }
}

void RunCgroup::Freeze(bool frozen) const {
    WriteControl("cgroup.freeze", frozen ? "1" : "0");
}

bool RunCgroup::WriteControl(const char* name, const std::string& text) const {
    const int fd = openat(folder_, name, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

} // namespace zelmora
