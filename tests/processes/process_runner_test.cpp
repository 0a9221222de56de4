#include "processes/process_runner.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zelmora {
namespace {

const std::string Calculator = ZELMORA_FAKE_CALCULATOR;

std::vector<std::string> RecordedLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text = test_support::ReadBytes(path);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(ExecuteAndWait, ReturnsTheExitStatus) {
    for (int status : {0, 1, 7, 255}) {
        EXPECT_EQ(ExecuteAndWait(Calculator + " exit " + std::to_string(status), 1), status);
    }
}

TEST(ExecuteAndWait, ReportsASignalAs128PlusItsNumber) {
    EXPECT_EQ(ExecuteAndWait(Calculator + " signal " + std::to_string(SIGKILL), 1), 128 + SIGKILL);
    EXPECT_EQ(ExecuteAndWait(Calculator + " signal " + std::to_string(SIGTERM), 1), 128 + SIGTERM);
}

TEST(ExecuteAndWait, ReturnsMinusOneForAProgramThatCannotBeStarted) {
    test_support::TempFolder folder;
    test_support::WriteBytes(folder.File("not-executable"), "#!/bin/true\n");
    test_support::WriteBytes(folder.File("bad-format"), "no interpreter line\n");
    chmod(folder.File("bad-format").c_str(), 0755);

    EXPECT_EQ(ExecuteAndWait(folder.File("absent program.exe x /c"), 1), -1);
    EXPECT_EQ(ExecuteAndWait(folder.File("not-executable"), 1), -1);
    EXPECT_EQ(ExecuteAndWait(folder.Path(), 1), -1);
    EXPECT_EQ(ExecuteAndWait("", 1), -1);
    // Found and executable, yet exec fails: never handed to a shell instead.
    EXPECT_EQ(ExecuteAndWait(folder.File("bad-format"), 1), -1);
}

TEST(ExecuteAndWait, StartsAProgramWhosePathContainsBlanks) {
    test_support::TempFolder folder;
    std::filesystem::create_directory(folder.File("dir with blank"));
    const std::string program = folder.File("dir with blank/fake calc");
    std::filesystem::copy_file(Calculator, program);
    const std::string record = folder.File("words.txt");

    ASSERT_EQ(ExecuteAndWait(program + " record " + record + " a  \"b c\" c:\\d\\ /c", 1), 0);
    EXPECT_EQ(RecordedLines(record),
              (std::vector<std::string>{program, "record", record, "a", "b c", "c:\\d\\", "/c"}));
}

TEST(ExecuteAndWait, TakesAQuotedProgramAsItStands) {
    test_support::TempFolder folder;
    const std::string record = folder.File("words.txt");
    ASSERT_EQ(ExecuteAndWait("\"" + Calculator + "\" record " + record + " x", 1), 0);
    EXPECT_EQ(RecordedLines(record), (std::vector<std::string>{Calculator, "record", record, "x"}));
}

TEST(ExecuteAndWait, FindsAProgramNameInTheSearchPath) {
    const std::string saved = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", std::filesystem::path(Calculator).parent_path().c_str(), 1);
    const int status =
        ExecuteAndWait(std::filesystem::path(Calculator).filename().string() + " exit 3", 1);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(status, 3);
}

TEST(ExecuteAndWait, GivesTheChildEmptyInputAndNoneOfOurDescriptors) {
    const int inherited = open("/dev/null", O_RDONLY);
    ASSERT_GE(inherited, 3);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);

    EXPECT_EQ(ExecuteAndWait(Calculator + " stdin", 1), 0);
    EXPECT_EQ(ExecuteAndWait(Calculator + " fds", 1), 0);
    EXPECT_EQ(ExecuteAndWait(Calculator + " session", 1), 0);

    close(pipeEnds[0]);
    close(pipeEnds[1]);
    close(inherited);
}

TEST(ExecuteAndWait, InheritsTheEnvironmentAndTheWorkingFolder) {
    test_support::TempFolder folder;
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    setenv("ZELMORA_RUNNER_PROBE", "1", 1);
    EXPECT_EQ(ExecuteAndWait(Calculator + " env ZELMORA_RUNNER_PROBE", 1), 0);
    unsetenv("ZELMORA_RUNNER_PROBE");
    EXPECT_EQ(ExecuteAndWait(Calculator + " env ZELMORA_RUNNER_PROBE", 1), 1);
    EXPECT_EQ(ExecuteAndWait(Calculator + " record relative.txt", 1), 0);
    std::filesystem::current_path(saved);
    EXPECT_TRUE(std::filesystem::exists(folder.File("relative.txt")));
}

TEST(ExecuteAndWait, CallsTheIdleCallbackWhileTheChildRuns) {
    int calls = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ExecuteAndWait(Calculator + " sleep 300", 1, [&calls] { ++calls; }), 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(300));
    EXPECT_GE(calls, 3);
    EXPECT_EQ(ExecuteAndWait(Calculator + " exit 5", 1, [] {}), 5);
    EXPECT_EQ(ExecuteAndWait(Calculator + " signal " + std::to_string(SIGTERM), 1, [] {}),
              128 + SIGTERM);
}

TEST(ExecuteAndWait, AcceptsACommandLineLongerThan512Characters) {
    test_support::TempFolder folder;
    const std::string record = folder.File("words.txt");
    const std::string longWord(2000, 'w');
    ASSERT_EQ(ExecuteAndWait(Calculator + " record " + record + " " + longWord, 1), 0);
    EXPECT_EQ(RecordedLines(record).back(), longWord);
}

} // namespace
} // namespace zelmora
