#include "project/errors.h"
#include "project/io_code.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;

std::set<std::string> FileNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Writes whole pages until the file system has none left.
void FillDisk(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string page(4096, 'f');
    while (write(fd, page.data(), page.size()) == static_cast<ssize_t>(page.size())) {
    }
    const int error = errno;
    close(fd);
    ASSERT_EQ(error, ENOSPC);
}

class DiskFullTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (!disk_.Mounted()) {
            GTEST_SKIP() << "no tmpfs can be mounted here; the project file tests inject the "
                            "failed write instead";
        }
        State = ProjectState{};
        SetDefaults();
    }

    test_support::TempFolder folder_;
    test_support::ScopedTmpfs disk_{folder_.Path(), "size=64k"};
};

TEST_P(DiskFullTest, SavingFailsWithDiskFullAndLeavesTheFolderAsItWas) {
    const bool earlierFile = GetParam();
    const std::string file = folder_.File("slope.zmo");
    if (earlierFile) {
        WriteProjectFile(file);
    }
    const std::string earlier = earlierFile ? ReadBytes(file) : "";
    FillDisk(folder_.File("filler"));
    const std::set<std::string> before = FileNames(folder_.Path());

    Row(State, 1) = {1, 30, 3, 10, 2};
    State.Beta = 2.5;
    try {
        WriteProjectFile(file);
        FAIL() << "saving to a full disk succeeded";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code, 101);
        EXPECT_STREQ(error.what(), "Disk full");
    }
    EXPECT_EQ(PendingIoCode(), 0);
    EXPECT_EQ(FileNames(folder_.Path()), before);
    if (earlierFile) {
        EXPECT_EQ(ReadBytes(file), earlier);
    }
}

INSTANTIATE_TEST_SUITE_P(OverAnEarlierFileAndAsANewFile, DiskFullTest, ::testing::Bool());

} // namespace
} // namespace zelmora
