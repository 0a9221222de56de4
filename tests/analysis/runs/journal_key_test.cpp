// The journal's key: which files of a calculator's command are keyed, what a data folder's
// file is known by, and what counts as a change.
#include "analysis/runs/calculator_files.h"
#include "analysis/runs/journal_key.h"
#include "project/sha256.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::WriteBytes;

class JournalKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_.File("m.dta/sub"));
        WriteBytes(folder_.File("m.plx"), "model\n");
        WriteBytes(folder_.File("m.dta/water.txt"), "2.5\n");
        WriteBytes(folder_.File("m.dta/sub/mesh.bin"), "mesh");
        WriteBytes(folder_.File("m.dta/m.hxx"), "old result");
    }

    KeySources Sources() const {
        return {folder_.File("m.plx"), {}, folder_.File("m.dta"), {"m.dta/m.hxx"}};
    }

    void MakeExecutable(const std::string& name, const std::string& text) const {
        WriteBytes(folder_.File(name), text);
        fs::permissions(folder_.File(name), fs::perms::owner_exec, fs::perm_options::add);
    }

    test_support::TempFolder folder_;
};

TEST_F(JournalKeyTest, TheCalculatorsFilesAreItsProgramItsFileWordsAndItsInterpreter) {
    MakeExecutable("launch", "#!/bin/sh\nexec \"$@\"\n");
    MakeExecutable("calc", "binary");
    WriteBytes(folder_.File("settings.ini"), "x");
    const struct {
        std::string programPart;
        std::vector<std::string> files;
    } cases[] = {
        {folder_.File("calc"), {folder_.File("calc")}},
        // The launcher, the program it is given, a file word taken from the start folder; the
        // option and the missing file are no files.
        {folder_.File("launch") + " -n1 calc settings.ini absent.ini",
         {folder_.File("launch"), folder_.File("calc"), folder_.File("settings.ini"), "/bin/sh"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programPart);
        EXPECT_EQ(CalculatorFiles(c.programPart, folder_.Path()), c.files);
    }
}

TEST_F(JournalKeyTest, ADataFolderFileIsKnownByItsMetadataAndUpTo64MiBItsBytes) {
    {
        // Sparse: nothing of it is written, nor read, since it is known by metadata alone.
        const int fd = ::open(folder_.File("m.dta/big.bin").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(MaxHashedFileBytes + 1)), 0);
        ::close(fd);
    }
    WriteBytes(folder_.File("m.dta/exact.bin"), std::string(1000, 'e'));
    std::uint64_t last = 0;
    std::uint64_t all = 0;
    const JournalKey key =
        ComputeJournalKey("line", "m", Sources(), [&](std::uint64_t hashed, std::uint64_t total) {
            last = hashed;
            all = total;
        });
    EXPECT_EQ(key.modelDigest, Sha256Hex("model\n"));
    std::vector<std::string> names;
    for (const auto& [name, identity] : key.dataFolder) {
        names.push_back(name);
    }
    // The result file is the analysis's own; folders are not files.
    EXPECT_EQ(names, (std::vector<std::string>{"m.dta/big.bin", "m.dta/exact.bin",
                                               "m.dta/sub/mesh.bin", "m.dta/water.txt"}));
    EXPECT_EQ(key.dataFolder.at("m.dta/big.bin").find("sha256"), std::string::npos);
    EXPECT_NE(
        key.dataFolder.at("m.dta/exact.bin").find(" sha256 " + Sha256Hex(std::string(1000, 'e'))),
        std::string::npos);
    EXPECT_NE(key.dataFolder.at("m.dta/water.txt").find("size 4 "), std::string::npos);
    EXPECT_EQ(all, 6U + 1000U + 4U + 4U);
    EXPECT_EQ(last, all);
}

TEST_F(JournalKeyTest, AnyRewriteAdditionOrRemovalIsAChangeAndTheSameFolderIsNone) {
    const JournalKey before = ComputeJournalKey("line", "m", Sources());
    EXPECT_EQ(ChangedNames(before.dataFolder, ComputeJournalKey("line", "m", Sources()).dataFolder),
              std::vector<std::string>{});
    EXPECT_EQ(DigestOf(before.dataFolder),
              DigestOf(ComputeJournalKey("line", "m", Sources()).dataFolder));
    // The same bytes written again, past the coarse clock's tick: the change time moves.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WriteBytes(folder_.File("m.dta/water.txt"), "2.5\n");
    WriteBytes(folder_.File("m.dta/added.txt"), "");
    fs::remove(folder_.File("m.dta/sub/mesh.bin"));
    WriteBytes(folder_.File("m.dta/m.hxx"), "new result");
    const JournalKey after = ComputeJournalKey("line", "m", Sources());
    const std::vector<std::string> changed{"m.dta/added.txt", "m.dta/sub/mesh.bin",
                                           "m.dta/water.txt"};
    EXPECT_EQ(ChangedNames(before.dataFolder, after.dataFolder), changed);
    EXPECT_EQ(ChangedNames(before.dataFolder, DataFolderMetadata(Sources()), true), changed);
    EXPECT_NE(DigestOf(before.dataFolder), DigestOf(after.dataFolder));
    EXPECT_EQ(DigestOf(Without(before.dataFolder, {changed.begin(), changed.end()})),
              DigestOf(Without(after.dataFolder, {changed.begin(), changed.end()})));
}

// The runs' copies read what a link names: its target's bytes are keyed with it.
TEST_F(JournalKeyTest, ALinkIsKnownByTheFileItNamesToo) {
    WriteBytes(folder_.File("outside.txt"), "1.0\n");
    fs::create_symlink(folder_.File("outside.txt"), folder_.File("m.dta/linked.txt"));
    const JournalKey before = ComputeJournalKey("line", "m", Sources());
    EXPECT_NE(before.dataFolder.at("m.dta/linked.txt").find(" sha256 " + Sha256Hex("1.0\n")),
              std::string::npos);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WriteBytes(folder_.File("outside.txt"), "9.0\n");
    const JournalKey after = ComputeJournalKey("line", "m", Sources());
    EXPECT_EQ(ChangedNames(before.dataFolder, after.dataFolder),
              std::vector<std::string>{"m.dta/linked.txt"});
    EXPECT_EQ(ChangedNames(before.dataFolder, DataFolderMetadata(Sources()), true),
              std::vector<std::string>{"m.dta/linked.txt"});
}

} // namespace
} // namespace zelmora
