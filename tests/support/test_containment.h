#pragma once

#include "processes/calculator_start.h"
#include "processes/containment.h"
#include "tests/support/file_bytes.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace test_support {

// This process's cgroup folder in the cgroup2 file system, or "".
inline std::string OwnCgroup() {
    return zelmora::OwnCgroupFolder(ReadBytes("/proc/self/cgroup"),
                                    ReadBytes("/proc/self/mountinfo"))
        .value_or("");
}

// One way of keeping a calculator's processes together, forced, as far as this machine can
// exercise it. A cgroup needs root, who makes one for the test in this process's own cgroup:
// the program itself would never use a root-owned one.
class TestContainment {
public:
    explicit TestContainment(zelmora::Containment kind) {
        choice_.kind = kind;
        if (kind == zelmora::Containment::Namespaces && !zelmora::NamespacesWork()) {
            skip_ = "user and PID namespaces cannot be made here";
        }
        if (kind != zelmora::Containment::Cgroup) {
            return;
        }
        const std::string own = OwnCgroup();
        if (geteuid() != 0 || own.empty()) {
            skip_ = "a cgroup for the test needs root and a cgroup2 file system";
            return;
        }
        made_ = own + "/zelmora-test-" + std::to_string(getpid()) + "-" + std::to_string(++count_);
        if (mkdir(made_.c_str(), 0755) != 0) {
            skip_ = "no cgroup can be made in " + own;
            made_.clear();
        }
        choice_.cgroupFolder = made_;
    }
    TestContainment(const TestContainment&) = delete;
    TestContainment& operator=(const TestContainment&) = delete;
    ~TestContainment() {
        if (!made_.empty()) {
            rmdir(made_.c_str());
        }
    }

    // Why this machine cannot exercise it; empty when it can.
    const std::string& SkipReason() const { return skip_; }
    const zelmora::ContainmentChoice& Choice() const { return choice_; }

private:
    zelmora::ContainmentChoice choice_;
    std::string skip_;
    std::string made_;
    static inline int count_ = 0;
};

// Whether the process runs, a zombie not counted.
inline bool Alive(pid_t pid) {
    const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

} // namespace test_support
