#include "analysis/runs/calculator_wait.h"
#include "processes/process_runner.h"
#include "processes/process_set.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "windows_processes.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <io.h>
#include <map>
#include <thread>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using windows_test::ProcessRuns;
using windows_test::WindowsPath;

const std::string Helper = WindowsPath(ZELMORA_CHILD_HELPER);

class RunnerTest : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return WindowsPath(folder_.File(name)); }

    // A copy of the helper under another name, for the program search.
    std::string CopyHelper(const std::string& name) const {
        const std::string path = File(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::copy_file(Helper, path);
        return path;
    }

    TempFolder folder_;
};

TEST_F(RunnerTest, ReturnsTheExitCode) {
    for (const int code : {0, 1, 3, 255, 70000}) {
        EXPECT_EQ(ExecuteAndWait(Helper + " exit " + std::to_string(code), 1), code);
    }
}

TEST_F(RunnerTest, AProgramThatCannotBeStartedIsMinusOne) {
    for (const std::string& line : {File("missing.exe") + " /c", std::string(), File("")}) {
        EXPECT_EQ(ExecuteAndWait(line, 1), -1) << line;
    }
}

// As on POSIX: the prefixes of an unquoted line that end before a blank are tried shortest
// first, so a program in a folder with a blank is found, unless a shorter prefix names one.
TEST_F(RunnerTest, FindsAnUnquotedProgramPathWithABlank) {
    const std::string program = CopyHelper("calc dir\\child_helper.exe");
    const std::string out = File("args.txt");
    EXPECT_EQ(ExecuteAndWait(program + " args " + out + " /c", 1), 0);
    EXPECT_EQ(ReadBytes(out), "args\n" + out + "\n/c\n");

    EXPECT_EQ(ExecuteAndWait("\"" + program + "\" exit 4", 1), 4);

    CopyHelper("calc.exe");
    EXPECT_EQ(ExecuteAndWait(program + " exit 4", 1), 2) << "calc.exe should have run";
}

TEST_F(RunnerTest, PassesACommandLineOfAnyLength) {
    const std::string out = File("args.txt");
    const std::string word(5000, 'w');
    EXPECT_EQ(ExecuteAndWait(Helper + " args " + out + " " + word, 1), 0);
    EXPECT_EQ(ReadBytes(out), "args\n" + out + "\n" + word + "\n");
}

TEST_F(RunnerTest, CallsTheIdleCallbackWhileWaiting) {
    int calls = 0;
    EXPECT_EQ(ExecuteAndWait(Helper + " sleep 400", 1, [&] { ++calls; }), 0);
    EXPECT_GE(calls, 5);
}

// Collects every process of the set, by handle.
std::map<int, int> WaitForAll(ProcessSet& processes) {
    std::map<int, int> statuses;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (processes.RunningCount() > 0 && std::chrono::steady_clock::now() < deadline) {
        if (const auto ended = processes.WaitForAny(std::chrono::milliseconds(100))) {
            statuses[ended->handle] = ended->exitStatus;
        }
    }
    return statuses;
}

TEST_F(RunnerTest, ProcessSetReportsEachExitStatus) {
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    std::map<int, int> expected;
    for (const int code : {5, 0, 7}) {
        const int handle = processes->Start(Helper + " exit " + std::to_string(code), -1, {}, {});
        ASSERT_GE(handle, 0);
        expected[handle] = code;
    }
    EXPECT_EQ(processes->Start(File("missing.exe") + " /c", -1, {}, {}), -1);
    EXPECT_EQ(processes->RunningCount(), 3);
    EXPECT_EQ(WaitForAll(*processes), expected);
    EXPECT_FALSE(processes->WaitForAny(std::chrono::milliseconds(10)));
}

TEST_F(RunnerTest, ProcessSetSendsOutputToTheDescriptor) {
    const std::string log = File("calculator.log");
    const int fd = _open(log.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY, 0666);
    ASSERT_GE(fd, 0);
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    ASSERT_GE(processes->Start(Helper + " print hello", fd, {}, {}), 0);
    WaitForAll(*processes);
    _close(fd);
    const std::string text = ReadBytes(log);
    EXPECT_NE(text.find("hello"), std::string::npos) << text;
    EXPECT_NE(text.find("error"), std::string::npos) << text;
}

TEST_F(RunnerTest, ProcessSetGivesEachCalculatorItsRunMarkerAlone) {
    SetEnvironmentVariableA("ZELMORA_RUN", "stale-1");
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    const int marked = processes->Start(Helper + " env ZELMORA_RUN 3.1-4", -1, {}, "3.1-4");
    SetEnvironmentVariableA("ZELMORA_RUN", nullptr);
    ASSERT_GE(marked, 0);
    EXPECT_EQ(WaitForAll(*processes), (std::map<int, int>{{marked, 0}}));
}

DWORD WaitForProcessId(const std::string& file) {
    for (int i = 0; i < 300 && ReadBytes(file).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return static_cast<DWORD>(std::stoul(ReadBytes(file)));
}

bool EndsWithin(DWORD id, std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (ProcessRuns(id) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !ProcessRuns(id);
}

TEST_F(RunnerTest, SignalAllEndsEachProcessWithWhatItStarted) {
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    std::map<int, DWORD> grandchildren;
    for (const std::string name : {"a.pid", "b.pid"}) {
        const int handle = processes->Start(Helper + " family " + File(name), -1, {}, {});
        ASSERT_GE(handle, 0);
        grandchildren[handle] = WaitForProcessId(File(name));
        EXPECT_TRUE(ProcessRuns(grandchildren[handle]));
    }
    processes->SignalAll(SIGTERM);
    const std::map<int, int> statuses = WaitForAll(*processes);
    for (const auto& [handle, grandchild] : grandchildren) {
        EXPECT_EQ(statuses.at(handle), 128 + SIGTERM);
        EXPECT_TRUE(EndsWithin(grandchild, std::chrono::seconds(5))) << grandchild;
    }
}

// What a calculator left in its job lives until the run's result is read, then ends with it.
TEST_F(RunnerTest, WhatAProcessLeftEndsWithItsLeftovers) {
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    const int handle = processes->Start(Helper + " leave " + File("l.pid"), -1, {}, {});
    ASSERT_GE(handle, 0);
    const std::map<int, int> statuses = WaitForAll(*processes);
    EXPECT_EQ(statuses.at(handle), 0);
    const DWORD grandchild = WaitForProcessId(File("l.pid"));
    EXPECT_TRUE(ProcessRuns(grandchild));
    processes->EndLeftovers(handle);
    EXPECT_TRUE(EndsWithin(grandchild, std::chrono::seconds(5))) << grandchild;
}

TEST_F(RunnerTest, EndCalculatorsEndsThemAtOnce) {
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    std::vector<DWORD> ids;
    for (int i = 0; i < 3; ++i) {
        ids.push_back(static_cast<DWORD>(processes->Start(Helper + " sleep 60000", -1, {}, {})));
    }
    const auto start = std::chrono::steady_clock::now();
    EndCalculators(*processes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(processes->RunningCount(), 0);
    for (const DWORD id : ids) {
        EXPECT_TRUE(EndsWithin(id, std::chrono::seconds(5))) << id;
    }
}

TEST_F(RunnerTest, EndingTheSetEndsWhatStillRuns) {
    DWORD id = 0;
    {
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        id = static_cast<DWORD>(processes->Start(Helper + " sleep 60000", -1, {}, {}));
        EXPECT_TRUE(ProcessRuns(id));
    }
    EXPECT_TRUE(EndsWithin(id, std::chrono::seconds(5)));
}

} // namespace
} // namespace zelmora
