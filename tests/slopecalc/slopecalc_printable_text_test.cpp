#include "slopecalc/printable_text.h"

#include <gtest/gtest.h>
#include <string>

namespace slopecalc {
namespace {

TEST(SlopecalcPrintableText, ControlCharactersAndStrayBytesBecomeQuestionMarks) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"slope 1.5", "slope 1.5"},
        {"\x1b[2J\x1b]0;owned\x07", "?[2J?]0;owned?"},
        {std::string("a\0b", 3), "a?b"},
        {"tab\tcr\rlf\ndel\x7f", "tab?cr?lf?del?"},
        {"\xc2\x9b"
         "31m",
         "?31m"},                   // C1 control sequence introducer in UTF-8
        {"\xc2\x85\xc2\x9f", "??"}, // C1 next line and the last C1 character
        {"\xc2\xa0\xc3\xa9\xe2\x82\xac\xf0\x9f\x8c\x8d",
         "\xc2\xa0\xc3\xa9\xe2\x82\xac\xf0\x9f\x8c\x8d"},
        {"\x9b"
         "31m",
         "?31m"},                     // a bare 8-bit CSI
        {"caf\xe9", "caf?"},          // Latin-1, not UTF-8
        {"\xc0\xaf", "??"},           // overlong slash
        {"\xed\xa0\x80", "???"},      // surrogate
        {"\xf4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xe2\x82", "??"},           // cut short
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrintableText(c.text), c.shown) << c.shown;
    }
}

} // namespace
} // namespace slopecalc
