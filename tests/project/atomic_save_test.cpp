#include "child_process.h"
#include "project/atomic_save.h"
#include "project/errors.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "project/text_output.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace zelmora;
using test_support::Nobody;
using test_support::ReadBytes;
using test_support::RunInChild;
using test_support::TempFolder;
using test_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

uid_t OwnerOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_uid : 0;
}

// The code of the error a save raises, 0 when it succeeds.
int SaveCode(const std::string& path) {
    try {
        WriteProjectFile(path);
    } catch (const EInOutError& error) {
        return error.code;
    }
    return 0;
}

// What each write of the save saw of the file it wrote to.
struct Observed {
    std::string path;
    mode_t mode = 0;
    nlink_t links = 1;
};
Observed observed;

std::ptrdiff_t ObservingWrite(int fd, const char* data, std::size_t size) {
    struct stat info {};
    fstat(fd, &info);
    observed = {fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string(),
                info.st_mode & 07777, info.st_nlink};
    return ::write(fd, data, size);
}

// Runs every case with the unnamed temporary file and again with the named one that file
// systems without O_TMPFILE get.
class AtomicSaveTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        RecordIoCode(0);
        State = ProjectState{};
        SetDefaults();
        AtomicSave::SetUnnamedTemporaryForTesting(GetParam());
        WriteProjectFile(folder.File("reference"));
        expected = ReadBytes(folder.File("reference"));
        fs::remove(folder.File("reference"));
    }
    void TearDown() override {
        AtomicSave::SetUnnamedTemporaryForTesting(true);
        TextOutput::SetWriteCallForTesting(nullptr);
        RecordIoCode(0);
    }

    bool Unnamed() const { return GetParam(); }

    TempFolder folder;
    const std::string target = folder.File("project.zmo");
    const std::string hidden = folder.File(".project.zmo.zelmora-save");
    std::string expected;
};

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, AtomicSaveTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST_P(AtomicSaveTest, TemporaryIsPrivateWhileWrittenAndGetsItsFinalModeAtTheEnd) {
    const mode_t mask = umask(022);
    umask(mask);
    const struct {
        std::string name;
        mode_t oldMode; // 0: no old file
        mode_t finalMode;
    } cases[] = {
        {"new file", 0, 0666 & ~mask},
        {"readable by all", 0644, 0644},
        {"private", 0600, 0600},
        {"group and execution", 0750, 0750},
    };
    TextOutput::SetWriteCallForTesting(ObservingWrite);
    for (const auto& c : cases) {
        fs::remove(target);
        if (c.oldMode != 0) {
            WriteBytes(target, "old");
            chmod(target.c_str(), c.oldMode);
        }
        observed = {};
        WriteProjectFile(target);
        EXPECT_EQ(observed.mode, 0600u) << c.name;
        if (Unnamed()) {
            EXPECT_EQ(observed.links, 0u) << c.name << ": the temporary file has a name";
        } else {
            EXPECT_EQ(observed.path, hidden) << c.name;
        }
        EXPECT_EQ(ModeOf(target), c.finalMode) << c.name;
        EXPECT_EQ(ReadBytes(target), expected) << c.name;
        EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"project.zmo"}) << c.name;
    }
}

TEST_P(AtomicSaveTest, NewFileTakesTheUmaskOfTheMoment) {
    for (const mode_t mask : {022, 027, 077, 002}) {
        const mode_t previous = umask(mask);
        const std::string path = folder.File("new" + std::to_string(mask) + ".zmo");
        WriteProjectFile(path);
        umask(previous);
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << mask;
    }
}

TEST_P(AtomicSaveTest, LeftoverOfAKilledSaveIsRemovedByTheNextSave) {
    WriteBytes(folder.File("victim"), "victim");
    const struct {
        std::string name;
        std::function<void()> plant;
    } leftovers[] = {
        {"partly written file", [&] { WriteBytes(hidden, "ZELMORA\r\nSafety"); }},
        {"complete file", [&] { WriteBytes(hidden, expected); }},
        {"read-only file", [&] { WriteBytes(hidden, "x"), chmod(hidden.c_str(), 0400); }},
        {"link to another file", [&] { fs::create_symlink("victim", hidden); }},
    };
    for (const auto& leftover : leftovers) {
        WriteBytes(target, "old");
        leftover.plant();
        WriteProjectFile(target);
        EXPECT_EQ(ReadBytes(target), expected) << leftover.name;
        EXPECT_EQ(ReadBytes(folder.File("victim")), "victim") << leftover.name;
        EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"project.zmo", "victim"}))
            << leftover.name;
    }
}

TEST_P(AtomicSaveTest, FailedRenameLeavesNoTemporaryFile) {
    WriteBytes(target, "old");
    {
        AtomicSave save(target);
        TextOutput out;
        out.OpenForWriting(save.WritePath());
        out.WriteText("new");
        out.Close();
        ASSERT_EQ(PendingIoCode(), 0);
        // The target turns into a folder that is not empty, over which nothing can be renamed.
        fs::remove(target);
        fs::create_directories(target + "/inner");
        save.Commit();
        EXPECT_EQ(PendingIoCode(), 5) << "rename gives EISDIR";
    }
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"project.zmo"});
    EXPECT_TRUE(fs::is_directory(target));
}

TEST_P(AtomicSaveTest, LongNamesGetHiddenNamesOfTheirOwn) {
    // Two names that agree in everything a shortened hidden name could keep of them.
    const std::string common(NAME_MAX - 10, 'n');
    const std::string first = folder.File(common + "-first.zmo");
    const std::string second = folder.File(common + "-other.zmo");
    std::vector<std::string> temporaries;
    TextOutput::SetWriteCallForTesting(ObservingWrite);
    for (const std::string& path : {first, second}) {
        WriteProjectFile(path);
        temporaries.push_back(observed.path);
        EXPECT_EQ(ReadBytes(path), expected);
    }
    if (!Unnamed()) {
        EXPECT_NE(temporaries[0], temporaries[1]);
    }
    EXPECT_EQ(Entries(folder.Path()).size(), 2u);
}

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_P(AtomicSaveTest, LinkInAFolderOthersMayWriteIsFollowedOnlyWhenOurs) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make the links of another user";
    }
    fs::permissions(folder.Path(), fs::perms(0755));
    const std::string victim = folder.File("victim.zmo");
    const std::string shared = folder.File("shared");
    const std::string link = shared + "/link.zmo";
    const std::string ownLink = folder.File("own-link.zmo");
    const struct {
        std::string name;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool throughOwnLink; // saved through a link of ours that leads to the link
        bool followed;
    } cases[] = {
        {"another user's link in a shared sticky folder", 01777, 0, Nobody, false, false},
        {"reached through a link of ours", 01777, 0, Nobody, true, false},
        {"our own link there", 01777, 0, 0, false, true},
        {"the folder owner's link", 01777, Nobody, Nobody, false, false},
        {"a folder that is not sticky", 0777, 0, Nobody, false, false},
        {"a sticky folder only its owner may write", 01755, 0, Nobody, false, true},
        {"a sticky folder its group may write", 01775, 0, Nobody, false, false},
        {"a folder only its group may write", 0775, 0, Nobody, false, false},
        {"our own link in a folder only its group may write", 0775, 0, 0, false, true},
        {"a folder nobody else may write", 0755, Nobody, Nobody, false, true},
    };
    for (const auto& c : cases) {
        WriteBytes(victim, "old");
        fs::create_directory(shared);
        fs::permissions(shared, fs::perms(0777));
        ASSERT_EQ(RunInChild([&] { return symlink(victim.c_str(), link.c_str()) == 0 ? 0 : 1; },
                             c.linkOwner),
                  0)
            << c.name;
        ASSERT_EQ(chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
        if (c.throughOwnLink) {
            fs::create_symlink(link, ownLink);
        }
        EXPECT_EQ(SaveCode(c.throughOwnLink ? ownLink : link), c.followed ? 0 : 5) << c.name;
        EXPECT_EQ(PendingIoCode(), 0);
        EXPECT_EQ(ReadBytes(victim), c.followed ? expected : "old") << c.name;
        EXPECT_TRUE(fs::is_symlink(link)) << c.name;
        EXPECT_EQ(OwnerOf(link), c.linkOwner) << c.name;
        EXPECT_EQ(Entries(shared), std::vector<std::string>{"link.zmo"}) << c.name;
        fs::remove_all(shared);
        fs::remove(ownLink);
    }
}

TEST_P(AtomicSaveTest, WritableFileInAFolderClosedToTheUserIsRewrittenInPlace) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to save as another user in a folder of root's";
    }
    fs::permissions(folder.Path(), fs::perms(0755));
    WriteBytes(target, "old");
    ASSERT_EQ(chown(target.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const ino_t inode = InodeOf(target);
    const std::string rootsFile = folder.File("root.zmo");
    WriteBytes(rootsFile, "root's");

    EXPECT_EQ(RunInChild([&] { return SaveCode(target); }, Nobody), 0);
    EXPECT_EQ(ReadBytes(target), expected);
    EXPECT_EQ(InodeOf(target), inode);
    EXPECT_EQ(OwnerOf(target), Nobody);
    EXPECT_EQ(ModeOf(target), 0640u);

    EXPECT_EQ(RunInChild([&] { return SaveCode(rootsFile); }, Nobody), 5);
    EXPECT_EQ(ReadBytes(rootsFile), "root's");
    EXPECT_EQ(RunInChild([&] { return SaveCode(folder.File("new.zmo")); }, Nobody), 5);
    EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"project.zmo", "root.zmo"}));
}

} // namespace
