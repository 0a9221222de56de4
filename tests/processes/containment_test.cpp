// Which way of keeping a calculator's processes together is taken: a cgroup only where one is
// delegated to the user, never root's; and the cgroup found where /proc places it.
#include "processes/containment.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_containment.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmora {
namespace {

struct FolderCase {
    const char* name;
    const char* cgroups;
    const char* mounts;
    const char* folder; // "" for none
};

constexpr const char* Unified =
    "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n";
constexpr const char* Pure =
    "30 24 0:26 / /sys/fs/cgroup rw,nosuid shared:4 - cgroup2 cgroup2 rw\n";

const FolderCase FolderCases[] = {
    {"desktop session", "0::/user.slice/user-1000.slice/user@1000.service/app.slice/a.scope\n",
     Pure, "/sys/fs/cgroup/user.slice/user-1000.slice/user@1000.service/app.slice/a.scope"},
    {"hybrid, at the root", "4:memory:/x\n1:name=systemd:/\n0::/\n",
     "32 31 0:29 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw,cpu\n"
     "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n",
     "/sys/fs/cgroup/unified"},
    {"mount of a subtree", "0::/docker/abc/run\n",
     "50 40 0:30 /docker/abc /sys/fs/cgroup ro - cgroup2 cgroup2 rw\n", "/sys/fs/cgroup/run"},
    {"mount of the cgroup itself", "0::/docker/abc\n",
     "50 40 0:30 /docker/abc /sys/fs/cgroup ro - cgroup2 cgroup2 rw\n", "/sys/fs/cgroup"},
    {"blank in the mount point", "0::/a\n",
     "50 40 0:30 / /mnt/my\\040cgroups rw - cgroup2 none rw\n", "/mnt/my cgroups/a"},
    {"outside the mount", "0::/other\n",
     "50 40 0:30 /docker/abc /sys/fs/cgroup ro - cgroup2 cgroup2 rw\n", ""},
    {"a look-alike prefix", "0::/docker/abcd\n",
     "50 40 0:30 /docker/abc /sys/fs/cgroup ro - cgroup2 cgroup2 rw\n", ""},
    {"version 1 only", "4:memory:/x\n1:name=systemd:/\n", Unified, ""},
    {"no cgroup2 mount", "0::/\n", "32 31 0:29 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw,cpu\n",
     ""},
};

TEST(OwnCgroupFolder, IsFoundWhereTheCgroup2MountShowsIt) {
    for (const FolderCase& c : FolderCases) {
        EXPECT_EQ(OwnCgroupFolder(c.cgroups, c.mounts).value_or(""), c.folder) << c.name;
    }
}

constexpr uid_t Nobody = 65534;

bool WriteChecked(const std::string& path, const std::string& text) {
    std::ofstream file(path);
    file << text << std::flush;
    return static_cast<bool>(file);
}

// In a child moved into `cgroup` and become nobody: 0 when the best containment is a cgroup
// there exactly when it is `delegated`, else namespaces where they work, and a daemon that a
// calculator detached under it ends with that calculator.
int ChooseAsNobody(const std::string& cgroup, bool delegated, const std::string& pids) {
    // Dumpable again, as a program that nobody started is: a change of user leaves it not.
    if (!WriteChecked(cgroup + "/cgroup.procs", "0") || setgroups(0, nullptr) != 0 ||
        setgid(Nobody) != 0 || setuid(Nobody) != 0 || prctl(PR_SET_DUMPABLE, 1) != 0) {
        return 10;
    }
    const ContainmentChoice choice = BestContainment();
    const ContainmentChoice expected = delegated ? ContainmentChoice{Containment::Cgroup, cgroup}
                                       : NamespacesWork()
                                           ? ContainmentChoice{Containment::Namespaces, {}}
                                           : ContainmentChoice{};
    if (choice.kind != expected.kind || choice.cgroupFolder != expected.cgroupFolder) {
        return 11;
    }
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    const int handle =
        processes->Start(std::string(ZELMORA_FAKE_CALCULATOR) + " daemon " + pids, -1, {}, "1.1-1");
    std::optional<ProcessSet::Ended> ended;
    while (handle >= 0 && !ended) {
        ended = processes->WaitForAny(std::chrono::milliseconds(50));
    }
    if (!ended || ended->exitStatus != 0 || test_support::PidsIn(pids).size() != 1) {
        return 12;
    }
    processes->EndLeftovers(handle);
    return test_support::Alive(test_support::PidsIn(pids).front()) ? 13 : 0;
}

TEST(DelegatedCgroup, IsTheUsersOwnNeverRoots) {
    const std::string own = test_support::OwnCgroup();
    if (geteuid() != 0 || own.empty()) {
        GTEST_SKIP() << "needs root and a cgroup2 file system";
    }
    EXPECT_FALSE(DelegatedCgroup()) << "root's own cgroup";
    for (const bool delegated : {true, false}) {
        test_support::TempFolder folder;
        chmod(folder.Path().c_str(), 0777);
        const std::string cgroup = own + "/zelmora-test-" + std::to_string(getpid()) +
                                   (delegated ? "-delegated" : "-root");
        ASSERT_EQ(mkdir(cgroup.c_str(), 0755), 0);
        if (delegated) {
            for (const char* name :
                 {"", "/cgroup.procs", "/cgroup.threads", "/cgroup.subtree_control"}) {
                ASSERT_EQ(chown((cgroup + name).c_str(), Nobody, Nobody), 0) << name;
            }
        }
        const pid_t child = fork();
        if (child == 0) {
            _exit(ChooseAsNobody(cgroup, delegated, folder.File("pids")));
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (delegated ? "delegated" : "root's") << ": " << status;
        EXPECT_EQ(rmdir(cgroup.c_str()), 0) << cgroup;
    }
}

// As a container's rules may, a chroot forbids user namespaces, root's too.
int ChooseInAChroot(const std::string& root) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("/", root.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0 ||
        chroot(root.c_str()) != 0 || chdir("/") != 0) {
        return 10;
    }
    return !NamespacesWork() && BestContainment().kind == Containment::Subreaper ? 0 : 11;
}

TEST(BestContainment, WhereNoNamespaceMayBeMadeIsTheSubreaperRule) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a chroot";
    }
    test_support::TempFolder root;
    const pid_t child = fork();
    if (child == 0) {
        _exit(ChooseInAChroot(root.Path()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace
} // namespace zelmora
