// Under each way of keeping a calculator's processes together that this machine offers, the
// calculator starts as it always did and its status reaches us unchanged; what it left, however
// it detached, ends with it; a process that came to the program from elsewhere is reaped,
// never signalled.
#include "processes/containment.h"
#include "processes/process_table.h"
#include "tests/support/file_bytes.h"
#include "tests/support/orphan.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_containment.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zelmora {
namespace {

const std::string Calculator = ZELMORA_FAKE_CALCULATOR;
constexpr const char* Marker = "7.1-3";

std::string Link(const std::string& path) {
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

// Whether the helper is where the mechanism holds what the calculator started.
bool HeldBy(Containment kind, pid_t helper) {
    const std::string proc = "/proc/" + std::to_string(helper);
    switch (kind) {
    case Containment::Cgroup:
        return test_support::ReadBytes(proc + "/cgroup")
                   .find("/zelmora-test-" + std::to_string(getpid())) != std::string::npos;
    case Containment::Namespaces:
        return Link(proc + "/ns/pid") != Link("/proc/self/ns/pid");
    case Containment::Subreaper:
        return RunMarkerOf(helper) == Marker;
    }
    return false;
}

class ChildProcessesTest : public ::testing::TestWithParam<Containment> {
protected:
    void SetUp() override {
        if (!containment_.SkipReason().empty()) {
            GTEST_SKIP() << containment_.SkipReason();
        }
        processes_ = MakeChildProcesses(containment_.Choice());
    }

    int Start(const std::string& commandLine, const std::string& startsIn = {}, int outputFd = -1) {
        return processes_->Start(commandLine, outputFd, startsIn, Marker);
    }

    int AwaitEnd(int handle) {
        while (true) {
            const auto ended = processes_->WaitForAny(std::chrono::milliseconds(50));
            if (ended && ended->handle == handle) {
                return ended->exitStatus;
            }
        }
    }

    // Its exit status, what it left ended; -1 when it cannot be started.
    int Run(const std::string& commandLine, const std::string& startsIn = {}, int outputFd = -1) {
        const int handle = Start(commandLine, startsIn, outputFd);
        if (handle < 0) {
            return -1;
        }
        const int status = AwaitEnd(handle);
        processes_->EndLeftovers(handle);
        return status;
    }

    test_support::TestContainment containment_{GetParam()};
    test_support::TempFolder folder_;
    std::unique_ptr<ProcessSet> processes_;
};

TEST_P(ChildProcessesTest, TheExitStatusReachesUsUnchanged) {
    const std::pair<const char*, int> cases[] = {
        {"exit 0", 0}, {"exit 3", 3}, {"exit 255", 255}, {"signal 9", 137}, {"signal 15", 143}};
    for (const auto& [words, status] : cases) {
        EXPECT_EQ(Run(Calculator + " " + words), status) << words;
    }
    EXPECT_EQ(Run(folder_.File("absent calc") + " /c"), -1);
}

TEST_P(ChildProcessesTest, TheCalculatorStartsAsItAlwaysDid) {
    std::filesystem::create_directory(folder_.File("bin"));
    std::filesystem::copy_file(Calculator, folder_.File("bin/calc"));
    const int output =
        open(folder_.File("output").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(output, 0);
    // A relative program with a folder is taken from the start folder.
    EXPECT_EQ(Run("bin/calc print hello", folder_.Path(), output), 0);
    close(output);
    EXPECT_EQ(test_support::ReadBytes(folder_.File("output")), "hello\nhello\n");
    EXPECT_EQ(Run("bin/calc record relative.txt", folder_.Path()), 0);
    EXPECT_TRUE(std::filesystem::exists(folder_.File("relative.txt")));

    // The run's marker replaces one we carry ourselves.
    setenv("ZELMORA_RUN", "stale-1", 1);
    for (const char* probe : {"stdin", "fds", "session", "env ZELMORA_RUN 7.1-3"}) {
        EXPECT_EQ(Run(Calculator + " " + probe), 0) << probe;
    }
    unsetenv("ZELMORA_RUN");
}

TEST_P(ChildProcessesTest, WhatTheCalculatorLeftEndsWithItAndNothingElseDoes) {
    const std::string pids = folder_.File("pids");
    const int handle = Start(Calculator + " daemon " + pids + " 300");
    ASSERT_GE(handle, 0);
    while (test_support::PidsIn(pids).empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const pid_t helper = test_support::PidsIn(pids).front();
    EXPECT_TRUE(HeldBy(GetParam(), helper));
    EXPECT_EQ(AwaitEnd(handle), 0);
    // A namespace's processes have ended by the time its init is reported ended.
    EXPECT_EQ(test_support::Alive(helper), GetParam() != Containment::Namespaces);

    const std::string mark = folder_.File("browser");
    test_support::StartOrphan(mark, std::chrono::milliseconds(300));
    processes_->SignalAll(SIGTERM);
    processes_->EndLeftovers(handle);
    EXPECT_FALSE(test_support::Alive(helper)) << helper;
    processes_->EndAllLeftovers();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (test_support::ReadBytes(mark).empty() && std::chrono::steady_clock::now() < deadline) {
        processes_->WaitForAny(std::chrono::milliseconds(20));
    }
    ASSERT_NE(test_support::ReadBytes(mark), "") << "the orphan was ended";
    // It writes its mark a moment before it ends; what ends comes to us and is reaped.
    const std::string orphan = "/proc/" + test_support::ReadBytes(mark);
    while (std::filesystem::exists(orphan) && std::chrono::steady_clock::now() < deadline) {
        processes_->WaitForAny(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(std::filesystem::exists(orphan)) << "the orphan was not reaped";
}

std::string NameOf(const ::testing::TestParamInfo<Containment>& info) {
    constexpr const char* Names[] = {"Cgroup", "Namespaces", "Subreaper"};
    return Names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Mechanisms, ChildProcessesTest,
                         ::testing::Values(Containment::Cgroup, Containment::Namespaces,
                                           Containment::Subreaper),
                         NameOf);

} // namespace
} // namespace zelmora
