#include "project/terminal_text.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(TerminalText, ShowsEveryControlCharacterAsAQuestionMarkAndKeepsTheRest) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"/home/eng/slope.plx", "/home/eng/slope.plx"},
        {"a\x1b]0;title\x07z", "a?]0;title?z"},
        {"line\nnext\rtab\t", "line?next?tab?"},
        {std::string("nul\0!", 5), "nul?!"},
        {"del\x7f", "del?"},
        {"csi \xc2\x9b"
         "31m",
         "csi ?31m"},
        {"\xc2\xa0\xcf\x86 \xe2\x88\x92", "\xc2\xa0\xcf\x86 \xe2\x88\x92"}, // NBSP, φ, minus kept
        {"cut \xc2", "cut \xc2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalText(c.text), c.shown);
    }
}

} // namespace
} // namespace zelmora
