#include "slopecalc/data_paths.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace slopecalc {
namespace {

TEST(SlopecalcDataPaths, DropsThreeCharactersAndNamesTheFilesAfterTheStem) {
    struct Case {
        const char* model;
        const char* folder;
        const char* stem;
    };
    const Case cases[] = {
        {"/work/slopes/test.plx", "/work/slopes/test.dta/", "test"},
        {"/work/my slopes/a b.plx", "/work/my slopes/a b.dta/", "a b"},
        {"/x/test", "/x/tdta/", "test"},
        {"/x/v1.2/slope.old.plx", "/x/v1.2/slope.old.dta/", "slope.old"},
        {"slope.plx", "slope.dta/", "slope"},
        {"ab", "abdta/", "ab"},
    };
    for (const Case& c : cases) {
        const DataPaths paths = DeriveDataPaths(c.model);
        const std::string base = std::string(c.folder) + c.stem;
        EXPECT_EQ(paths.folder, c.folder) << c.model;
        EXPECT_EQ(paths.modification, base + ".mmt") << c.model;
        EXPECT_EQ(paths.result, base + ".hxx") << c.model;
        EXPECT_EQ(paths.picture, base + ".svg") << c.model;
    }
}

TEST(SlopecalcDataPaths, JoinsTheWordsBeforeTheFinalSwitch) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {{"/x/test.plx", "/c"}, "/x/test.plx"},
        {{"/x/my", "model.plx", "/c"}, "/x/my model.plx"},
        {{"/x/a", "b", "c.plx", "/c"}, "/x/a b c.plx"},
        {{"/x/test.plx"}, std::nullopt},
        {{"/c"}, std::nullopt},
        {{}, std::nullopt},
        {{"/x/test.plx", "/C"}, std::nullopt},
        {{"/x/test.plx", "/c", "more"}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModelPathFromArguments(c.arguments), c.path)
            << (c.arguments.empty() ? "" : c.arguments.front());
    }
}

} // namespace
} // namespace slopecalc
