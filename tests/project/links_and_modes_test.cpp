#include "project/atomic_save.h"
#include "project/errors.h"
#include "project/io_code.h"
#include "project/text_output.h"
#include "project/whole_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::WriteBytes;

// What the write hook does while the save writes its temporary file.
std::function<void()> duringWrite;

std::ptrdiff_t SwappingWrite(int fd, const char* data, std::size_t size) {
    if (duringWrite) {
        duringWrite();
        duringWrite = nullptr;
    }
    return ::write(fd, data, size);
}

class LinksAndModes : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        RecordIoCode(0);
        AtomicSave::SetUnnamedTemporaryForTesting(GetParam());
        TextOutput::SetWriteCallForTesting(SwappingWrite);
        fs::create_directory(work_);
        fs::create_directory(elsewhere_);
    }
    void TearDown() override {
        AtomicSave::SetUnnamedTemporaryForTesting(true);
        TextOutput::SetWriteCallForTesting(nullptr);
        duringWrite = nullptr;
        RecordIoCode(0);
    }

    test_support::TempFolder folder_;
    const std::string work_ = folder_.File("work");
    const std::string elsewhere_ = folder_.File("elsewhere");
};

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, LinksAndModes, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// The save holds its folder open: a folder swapped for a link meanwhile does not lead the file
// (or its temporary) into the folder the link names.
TEST_P(LinksAndModes, TheFileLandsInTheFolderTheSaveStartedIn) {
    WriteBytes(work_ + "/p.zmo", "old");
    WriteBytes(elsewhere_ + "/p.zmo", "someone else's");
    duringWrite = [this] {
        fs::rename(work_, work_ + ".moved");
        fs::create_directory_symlink(elsewhere_, work_);
    };
    SaveWholeFile(work_ + "/p.zmo", "new");
    EXPECT_EQ(ReadBytes(work_ + ".moved/p.zmo"), "new");
    EXPECT_EQ(ReadBytes(elsewhere_ + "/p.zmo"), "someone else's");
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere_), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(work_ + ".moved"), fs::directory_iterator()), 1);
}

} // namespace
} // namespace zelmora
