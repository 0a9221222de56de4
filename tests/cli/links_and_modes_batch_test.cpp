#include "tests/cli/batch_process.h"
#include "tests/cli/slope_project.h"
#include "tests/project/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::Nobody;
using test_support::ReadBytes;
using test_support::WriteBytes;

uid_t OwnerOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_uid : 0;
}

// The project in a folder its group may write, without the sticky bit, where another user has
// planted a link to a private file of ours elsewhere.
class LinksAndModesBatch : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root to plant the links of another user";
        }
        WriteSlopeProject(folder_, project_);
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "base 0.3\nterm 1 3 1.2 0.5\nterm 2 3 0.9 0.4\ncount " + counter_ + "\n");
        WriteBytes(victim_, "private");
        ASSERT_EQ(chmod(victim_.c_str(), 0600), 0);
    }

    void PlantLink(const std::string& name) const {
        ASSERT_EQ(chmod(folder_.Path().c_str(), 0777), 0);
        ASSERT_EQ(test_support::RunInChild(
                      [&] { return symlink(victim_.c_str(), name.c_str()) == 0 ? 0 : 1; }, Nobody),
                  0);
        ASSERT_EQ(chmod(folder_.Path().c_str(), 0775), 0);
    }

    Finished Run(std::vector<std::string> arguments) const {
        arguments.push_back(project_);
        return BatchProcess(arguments, folder_.Path()).Wait();
    }

    test_support::TempFolder folder_;
    test_support::TempFolder private_;
    const std::string project_ = folder_.File("slope.zmo");
    const std::string study_ = folder_.File("slope.study.json");
    const std::string counter_ = folder_.File("runs-started");
    const std::string victim_ = private_.File("victim");
};

TEST_F(LinksAndModesBatch, AnotherUsersLinkNamedLikeAnOutputIsRefusedBeforeAnyRun) {
    const struct {
        std::vector<std::string> options;
        std::string link;
        std::string refused; // the message's start
    } cases[] = {
        {{"--save"}, study_, "--save"},
        {{"--report", folder_.File("r.html")}, folder_.File("r.html"), "--report"},
        {{"--json", folder_.File("out.json")}, folder_.File("out.json"), "--json"},
    };
    for (const auto& c : cases) {
        PlantLink(c.link);
        const Finished refused = Run(c.options);
        EXPECT_EQ(refused.status, 2) << c.refused;
        EXPECT_EQ(refused.err, c.refused +
                                   " must not write through another user's link in a folder "
                                   "others may write: " +
                                   c.link + ".\n");
        EXPECT_EQ(ReadBytes(victim_), "private") << c.refused;
        EXPECT_TRUE(fs::is_symlink(c.link)) << c.refused;
        EXPECT_FALSE(fs::exists(counter_)) << c.refused << ": a run was started";
        fs::remove(c.link);
    }
}

TEST_F(LinksAndModesBatch, AStudyFileThatIsAnotherUsersLinkIsNotRead) {
    WriteBytes(victim_, R"({"zelmora_study": 1, "settings": {"method": "form"}})");
    PlantLink(study_);
    const std::string why =
        "The study file " + study_ +
        " cannot be read (it is another user's link in a folder others may write); ";
    const Finished refused = Run({});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, why + "nothing is run or saved, and it is left as it is.\n");
    EXPECT_FALSE(fs::exists(counter_));
    const Finished saved = Run({"--saved", "--json", "-"});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.err, why + "the project is opened without it.\n");
    EXPECT_FALSE(nlohmann::json::parse(saved.out).contains("method"));
}

// Whoever may write the folder could plant a study with results of their making.
TEST_F(LinksAndModesBatch, AStudyFileOfAnotherUserIsNotRead) {
    WriteBytes(study_, R"({"zelmora_study": 1, "settings": {"method": "form"}})");
    ASSERT_EQ(chown(study_.c_str(), Nobody, Nobody), 0);
    const std::string why =
        "The study file " + study_ + " cannot be read (it belongs to another user); ";
    const Finished refused = Run({"--save"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, why + "nothing is run or saved, and it is left as it is.\n");
    EXPECT_FALSE(fs::exists(counter_));
    EXPECT_EQ(OwnerOf(study_), Nobody);
    const Finished saved = Run({"--saved", "--json", "-"});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.err, why + "the project is opened without it.\n");
}

} // namespace
} // namespace zelmora
