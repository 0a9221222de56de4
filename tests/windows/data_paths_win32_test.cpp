#include "analysis/coupling/data_file_paths.h"
#include "slopecalc/data_paths.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// The data files as the finite-element program names them on Windows, "\" before the name.
TEST(DataPathsWin32, ZelmoraAddsTheDataFolderWithABackslash) {
    const struct {
        std::string projectPath;
        std::string projectName;
        std::string base;
    } cases[] = {
        {"c:\\progs\\zelmora\\plaxis\\test.plx", "test",
         "c:\\progs\\zelmora\\plaxis\\test.dta\\test"},
        {"c:\\x\\test", "a", "c:\\x\\tdta\\a"},
        {"Z:\\my projects\\a b.plx", "other name", "Z:\\my projects\\a b.dta\\other name"},
        {"ab", "n", "abdta\\n"},
    };
    for (const auto& c : cases) {
        const DataFiles files = DataFilesOf(c.projectPath, c.projectName);
        EXPECT_EQ(files.modification, c.base + ".mmt") << c.projectPath;
        EXPECT_EQ(files.result, c.base + ".hxx") << c.projectPath;
    }
}

TEST(DataPathsWin32, SlopecalcFindsTheStemAfterAnySeparator) {
    const struct {
        std::string model;
        std::string folder;
        std::string stem;
    } cases[] = {
        {"Z:\\work\\my slopes\\a b.plx", "Z:\\work\\my slopes\\a b.dta\\", "a b"},
        {"c:/work/slopes/test.plx", "c:/work/slopes/test.dta\\", "test"},
        {"c:slope.plx", "c:slope.dta\\", "slope"},
        {"Z:\\x\\v1.2\\slope.old.plx", "Z:\\x\\v1.2\\slope.old.dta\\", "slope.old"},
    };
    for (const auto& c : cases) {
        const slopecalc::DataPaths paths = slopecalc::DeriveDataPaths(c.model);
        EXPECT_EQ(paths.folder, c.folder) << c.model;
        EXPECT_EQ(paths.modification, c.folder + c.stem + ".mmt") << c.model;
        EXPECT_EQ(paths.result, c.folder + c.stem + ".hxx") << c.model;
        EXPECT_EQ(paths.picture, c.folder + c.stem + ".svg") << c.model;
    }
}

} // namespace
} // namespace zelmora
