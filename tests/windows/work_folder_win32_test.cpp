#include "analysis/workcopies/work_folder.h"
#include "project/errors.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "windows_processes.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;
using windows_test::WindowsPath;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

class WorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(File("slope.dta").c_str(), nullptr);
        WriteBytes(project_, "model\r\n");
        WriteBytes(File("slope.dta\\slope.mmt"), "0\r\n");
        WriteBytes(File("slope.dta\\kept.dat"), "read-only data");
        SetFileAttributesA(File("slope.dta\\kept.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    }

    std::string File(const std::string& name) const { return WindowsPath(folder_.File(name)); }

    TempFolder folder_;
    const std::string project_ = File("slope.plx");
};

TEST_F(WorkFolderTest, CopiesTheProjectAndRemovesEverything) {
    WorkFolder work(project_);
    EXPECT_EQ(work.Path(), project_ + ".runs");
    const std::string copy = work.AddCopy(1);
    EXPECT_EQ(copy, project_ + ".runs\\1\\slope.plx");
    EXPECT_EQ(ReadBytes(copy), "model\r\n");
    EXPECT_EQ(ReadBytes(project_ + ".runs\\1\\slope.dta\\kept.dat"), "read-only data");
    work.Remove();
    EXPECT_FALSE(std::filesystem::exists(work.Path()));
    SetFileAttributesA(File("slope.dta\\kept.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WorkFolderTest, OneAnalysisAtATime) {
    const WorkFolder first(project_);
    EXPECT_EQ(ErrorOf([&] { WorkFolder second(project_); }),
              "Another analysis of this project is using its work folder: " + first.Path());
}

TEST_F(WorkFolderTest, EmptiesItsOwnLeftoverAndRefusesAStrangeFolder) {
    {
        WorkFolder work(project_);
        work.AddCopy(1);
    }
    {
        const WorkFolder again(project_);
        EXPECT_FALSE(std::filesystem::exists(again.Path() + "\\1"));
    }
    CreateDirectoryA(File("other.plx.runs").c_str(), nullptr);
    EXPECT_EQ(ErrorOf([&] { WorkFolder strange(File("other.plx")); }),
              "The work folder is not one of Zelmora's; remove or rename it: " +
                  File("other.plx.runs"));
    SetFileAttributesA(File("slope.plx.runs\\1\\slope.dta\\kept.dat").c_str(),
                       FILE_ATTRIBUTE_NORMAL);
}

} // namespace
} // namespace zelmora
