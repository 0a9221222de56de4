#include "project/atomic_save.h"
#include "project/errors.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/project/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <random>
#include <set>
#include <thread>
#include <unistd.h>

namespace zelmora {
namespace {

using test_support::Nobody;
using test_support::ReadBytes;
using test_support::RunInChild;
using test_support::StartChild;
namespace fs = std::filesystem;

// The sanitizer build forks and saves several times slower; it kills a quarter as many saves,
// enough for its memory checks, and the normal build kills them all.
#if defined(__SANITIZE_ADDRESS__)
constexpr int KillShare = 4;
#else
constexpr int KillShare = 1;
#endif

struct KillCase {
    std::string name;
    bool unnamed;      // the unnamed temporary file, or the named one of file systems without
    bool ordinaryUser; // the saves run as nobody in a folder of nobody's
    int kills;
};

// A project whose three texts are long, so that its file takes about fifteen writes.
ProjectState LongTexts(char letter) {
    SetDefaults();
    ProjectState s = State;
    s.BatchPath = std::string(20000, letter);
    s.ProjectPath = std::string(20000, letter);
    s.ProjectName = std::string(20000, letter);
    return s;
}

// Kills saves of one file at random moments, each save in a child of its own, and looks at the
// folder after each kill.
class KilledSaveTest : public ::testing::TestWithParam<KillCase> {
protected:
    void SetUp() override {
        if (GetParam().ordinaryUser && geteuid() != 0) {
            GTEST_SKIP() << "needs root to save as an ordinary user";
        }
        AtomicSave::SetUnnamedTemporaryForTesting(GetParam().unnamed);
        fs::permissions(root_.Path(), fs::perms(0755));
        fs::create_directory(folder_);
        if (GetParam().ordinaryUser) {
            user_ = Nobody;
            ASSERT_EQ(chown(folder_.c_str(), Nobody, Nobody), 0);
        }
        for (const char letter : {'a', 'b'}) {
            states_.push_back(LongTexts(letter));
            State = states_.back();
            WriteProjectFile(root_.File("reference"));
            versions_.push_back(ReadBytes(root_.File("reference")));
        }
    }
    void TearDown() override { AtomicSave::SetUnnamedTemporaryForTesting(true); }

    bool SaveInChild(const ProjectState& state) {
        return RunInChild(
                   [&] {
                       State = state;
                       WriteProjectFile(target_);
                       return 0;
                   },
                   user_) == 0;
    }

    // Saves the two versions in turn until it is killed.
    pid_t StartSaving() {
        return StartChild(
            [&] {
                try {
                    for (std::size_t i = 0;; ++i) {
                        State = states_[i % 2];
                        WriteProjectFile(target_);
                    }
                } catch (const Error&) {
                    return 1;
                }
            },
            user_);
    }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    test_support::TempFolder root_;
    const std::string folder_ = root_.File("saves");
    const std::string target_ = folder_ + "/slope.zmo";
    std::optional<uid_t> user_;
    std::vector<ProjectState> states_;
    std::vector<std::string> versions_;
};

TEST_P(KilledSaveTest, LeavesTheWholeOldOrNewFileAndAtMostTheOneLeftover) {
    const std::set<std::string> clean = {"slope.zmo"};
    const std::set<std::string> withLeftover = {".slope.zmo.zelmora-save", "slope.zmo"};
    ASSERT_TRUE(SaveInChild(states_[0]));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveInChild(states_[1]));
    const auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    // Fixed seed: a failure can be repeated.
    std::mt19937 random(20111);
    std::uniform_int_distribution<long> delay(0, oneSave.count());
    int leftovers = 0;
    int found[2] = {0, 0};
    const int kills = GetParam().kills / KillShare;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = StartSaving();
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";

        const auto entries = Entries();
        ASSERT_TRUE(entries == clean || entries == withLeftover) << "after kill " << kill;
        const std::string bytes = ReadBytes(target_);
        ASSERT_TRUE(bytes == versions_[0] || bytes == versions_[1])
            << "kill " << kill << " left a file of " << bytes.size() << " bytes";
        ++found[bytes == versions_[0] ? 0 : 1];
        if (entries == withLeftover) {
            ++leftovers;
            ASSERT_TRUE(SaveInChild(states_[0]));
            ASSERT_EQ(Entries(), clean) << "the next save left the leftover of kill " << kill;
        }
    }
    std::cout << kills << " kills, one save " << oneSave.count() << " us; target " << found[0]
              << " times the first, " << found[1] << " times the second version; leftover after "
              << leftovers << " kills\n";
}

INSTANTIATE_TEST_SUITE_P(RootAndOrdinaryUser, KilledSaveTest,
                         ::testing::Values(KillCase{"UnnamedAsRoot", true, false, 140},
                                           KillCase{"NamedAsRoot", false, false, 70},
                                           KillCase{"UnnamedAsOrdinaryUser", true, true, 140},
                                           KillCase{"NamedAsOrdinaryUser", false, true, 70}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace zelmora
