#include "project/atomic_save.h"
#include "project/errors.h"
#include "project/text_output.h"
#include "project/whole_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "windows_processes.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;
using windows_test::WindowsPath;

class AtomicSaveTest : public ::testing::Test {
protected:
    void SetUp() override { RecordIoCode(0); }
    void TearDown() override {
        TextOutput::SetWriteCallForTesting(nullptr);
        RecordIoCode(0);
    }

    std::string File(const std::string& name) const { return WindowsPath(folder_.File(name)); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The message of the save's error, empty when it succeeded.
    static std::string SaveError(const std::string& name, const std::string& text) {
        try {
            SaveWholeFile(name, text);
        } catch (const EInOutError& error) {
            return error.what();
        }
        return {};
    }

    TempFolder folder_;
};

TEST_F(AtomicSaveTest, ReplacesAnOldFileKeepingItsAttributes) {
    const std::string target = File("project.zmo");
    WriteBytes(target, "old content that is longer\r\n");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(SaveError(target, "new\r\n"), "");
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"project.zmo"});
}

TEST_F(AtomicSaveTest, CreatesANewFileAlsoByARelativeName) {
    EXPECT_EQ(SaveError(File("new.zmo"), "first\r\n"), "");
    EXPECT_EQ(ReadBytes(File("new.zmo")), "first\r\n");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_.Path());
    EXPECT_EQ(SaveError("new.zmo", "second\r\n"), "");
    EXPECT_EQ(SaveError("other.zmo", "third\r\n"), "");
    std::filesystem::current_path(previous);
    EXPECT_EQ(ReadBytes(File("new.zmo")), "second\r\n");
    EXPECT_EQ(ReadBytes(File("other.zmo")), "third\r\n");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"new.zmo", "other.zmo"}));
}

TEST_F(AtomicSaveTest, RemovesTheLeftoverOfAKilledSave) {
    WriteBytes(File(".project.zmo.zelmora-save"), "half a save");
    EXPECT_EQ(SaveError(File("project.zmo"), "whole\r\n"), "");
    EXPECT_EQ(Entries(), std::vector<std::string>{"project.zmo"});
}

TEST_F(AtomicSaveTest, RefusedSavesLeaveEverythingAsItWas) {
    WriteBytes(File("read-only.zmo"), "old");
    SetFileAttributesA(File("read-only.zmo").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(File("folder.zmo").c_str(), nullptr);
    const std::vector<std::string> before = Entries();
    EXPECT_EQ(SaveError(File("read-only.zmo"), "new"), "File access denied");
    EXPECT_EQ(SaveError(File("folder.zmo"), "new"), "File access denied");
    EXPECT_EQ(SaveError(File("no folder\\x.zmo"), "new"), "Invalid filename");
    EXPECT_EQ(ReadBytes(File("read-only.zmo")), "old");
    EXPECT_EQ(Entries(), before);
    SetFileAttributesA(File("read-only.zmo").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AtomicSaveTest, AFailedWriteKeepsTheOldFileAndLeavesNothing) {
    const std::string target = File("keep.zmo");
    WriteBytes(target, "old\r\n");
    TextOutput::SetWriteCallForTesting([](int, const char*, std::size_t) -> std::ptrdiff_t {
        SetLastError(ERROR_DISK_FULL);
        return -1;
    });
    EXPECT_EQ(SaveError(target, "new\r\n"), "Disk full");
    EXPECT_EQ(ReadBytes(target), "old\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.zmo"});
}

TEST_F(AtomicSaveTest, WritesTheTemporaryFileBesideTheTarget) {
    const std::string target = File("project.zmo");
    const AtomicSave save(target);
    EXPECT_EQ(save.WritePath(), File(".project.zmo.zelmora-save"));
}

} // namespace
} // namespace zelmora
