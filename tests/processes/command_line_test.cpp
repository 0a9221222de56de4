#include "processes/command_line.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace zelmora {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
    std::string text;
    Words words;
};

TEST(SplitCommandWords, FollowsTheRuntimeRulesWithLiteralBackslashes) {
    const SplitCase cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b c", {"a", "b", "c"}},
        {"  a\t\tb  ", {"a", "b"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(x"a b"y z)", {"xa by", "z"}},
        {R"("" x)", {"", "x"}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"("unclosed quote  here)", {"unclosed quote  here"}},
        {R"(c:\dir\ "c:\my dir\" /c)", {R"(c:\dir\)", R"(c:\my dir\)", "/c"}},
        {R"(a\"b c)", {R"(a\b c)"}},
        {"\"tab\there\"", {"tab\there"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitCommandWords(c.text), c.words) << "text: " << c.text;
    }
}

// A locator that knows a fixed set of program names and reports them under "/bin/".
ProgramLocator KnownPrograms(std::set<std::string> names,
                             std::vector<std::string>* asked = nullptr) {
    return
        [names = std::move(names), asked](const std::string& name) -> std::optional<std::string> {
            if (asked != nullptr) {
                asked->push_back(name);
            }
            if (names.count(name) == 0) {
                return std::nullopt;
            }
            return "/bin/" + name;
        };
}

struct ResolveCase {
    std::string commandLine;
    std::set<std::string> programs;
    std::string programPath; // empty: nothing resolves
    Words words;
};

TEST(ResolveCommandLine, TakesTheShortestPrefixThatNamesAProgram) {
    const ResolveCase cases[] = {
        {"calc a b", {"calc"}, "/bin/calc", {"calc", "a", "b"}},
        {"my calc a b", {"my calc"}, "/bin/my calc", {"my calc", "a", "b"}},
        {"my calc a b", {"my", "my calc"}, "/bin/my", {"my", "calc", "a", "b"}},
        {"my  calc x", {"my  calc"}, "/bin/my  calc", {"my  calc", "x"}},
        {"my calc", {"my calc"}, "/bin/my calc", {"my calc"}},
        {"  calc\tx", {"calc"}, "/bin/calc", {"calc", "x"}},
        {R"(calc "a b" c)", {"calc"}, "/bin/calc", {"calc", "a b", "c"}},
        {R"("my calc" x)", {"my calc"}, "/bin/my calc", {"my calc", "x"}},
        {R"("my calc" x)", {"my"}, "", {}},
        {"missing program", {"calc"}, "", {}},
        {"", {"calc"}, "", {}},
        {"   ", {"calc"}, "", {}},
    };
    for (const ResolveCase& c : cases) {
        const std::optional<ResolvedCommand> resolved =
            ResolveCommandLine(c.commandLine, KnownPrograms(c.programs));
        if (c.programPath.empty()) {
            EXPECT_FALSE(resolved) << "command line: " << c.commandLine;
            continue;
        }
        ASSERT_TRUE(resolved) << "command line: " << c.commandLine;
        EXPECT_EQ(resolved->programPath, c.programPath) << "command line: " << c.commandLine;
        EXPECT_EQ(resolved->words, c.words) << "command line: " << c.commandLine;
    }
}

TEST(ResolveCommandLine, TriesEveryBlankOfTheTextInTurn) {
    std::vector<std::string> asked;
    EXPECT_FALSE(ResolveCommandLine("a b  c", KnownPrograms({}, &asked)));
    EXPECT_EQ(asked, (Words{"a", "a b", "a b ", "a b  c"}));
}

class LocateProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    std::string MakeFile(const std::string& name, mode_t mode) {
        std::string path = folder_.File(name);
        test_support::WriteBytes(path, "#!/bin/true\n");
        chmod(path.c_str(), mode);
        return path;
    }

    test_support::TempFolder folder_;

private:
    std::string savedPath_;
};

TEST_F(LocateProgramTest, AcceptsOnlyRegularExecutableFiles) {
    const std::string program = MakeFile("program", 0755);
    const std::string plain = MakeFile("plain", 0644);
    std::filesystem::create_directory(folder_.File("folder"));
    chmod(folder_.File("folder").c_str(), 0755);

    EXPECT_EQ(LocateProgram(program), program);
    EXPECT_FALSE(LocateProgram(plain));
    EXPECT_FALSE(LocateProgram(folder_.File("folder")));
    EXPECT_FALSE(LocateProgram(folder_.File("absent")));
    EXPECT_FALSE(LocateProgram(""));
}

TEST_F(LocateProgramTest, LooksUpNamesWithoutSlashInTheSearchPath) {
    std::filesystem::create_directory(folder_.File("first"));
    std::filesystem::create_directory(folder_.File("second"));
    const std::string plainInFirst = MakeFile("first/tool", 0644);
    const std::string inSecond = MakeFile("second/tool", 0755);
    setenv("PATH", (folder_.File("first") + ":" + folder_.File("second")).c_str(), 1);

    EXPECT_EQ(LocateProgram("tool"), inSecond);
    EXPECT_FALSE(LocateProgram("other"));
}

} // namespace
} // namespace zelmora
