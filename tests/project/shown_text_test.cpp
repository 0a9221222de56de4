#include "project/shown_text.h"
#include "project/terminal_text.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// Each control a text could carry to reorder or restyle what is shown becomes "?"; the
// characters around it stay as they are.
TEST(ShownText, ShowsEveryControlAndBidirectionalControlAsAQuestionMark) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"clayey sand", "clayey sand"},
        {"a\x1b[2Jb\tc\r\n", "a?[2Jb?c??"},
        {"raw csi \x9b"
         "31m",
         "raw csi ?31m"},
        {"raw \x85 and \x80", "raw ? and ?"},
        {"utf-8 csi \xc2\x9b", "utf-8 csi ?"},
        {"overlong \xe0\x82\x9b", "overlong \xe0??"},
        {"rlo \xe2\x80\xae"
         "txt.exe",
         "rlo ?txt.exe"},
        {"lre pdf \xe2\x80\xaa\xe2\x80\xac", "lre pdf ??"},
        {"isolates \xe2\x81\xa6\xe2\x81\xa9", "isolates ??"},
        {"marks \xe2\x80\x8e\xe2\x80\x8f\xd8\x9c", "marks ???"},
        {"\xcf\x86 \xe2\x88\x92 \xc2\xa0 \xe2\x80\x93",
         "\xcf\x86 \xe2\x88\x92 \xc2\xa0 \xe2\x80\x93"},
        {"latin-1 caf\xe9", "latin-1 caf\xe9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShownText(c.text), c.shown) << c.text;
        EXPECT_EQ(TerminalText(c.text), c.shown) << c.text;
    }
}

// Characters are counted, not bytes: 200 φ are shown whole, a 201st is cut with "…".
TEST(ShownText, EchoesAtMostTwoHundredCharacters) {
    std::string phis;
    for (int k = 0; k < 200; ++k) {
        phis += "\xcf\x86";
    }
    EXPECT_EQ(ShownText(phis), phis);
    EXPECT_EQ(ShownText(phis + "x"), phis + "\u2026");
    const std::string huge(10 << 20, 'n');
    EXPECT_EQ(ShownText(huge), std::string(200, 'n') + "\u2026");
    EXPECT_EQ(ShownText(huge, 3), "nnn\u2026");
    EXPECT_EQ(TerminalText(huge), huge);
}

} // namespace
} // namespace zelmora
