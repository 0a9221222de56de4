#include "report/html/base64.h"
#include "report/html/html_table.h"
#include "report/markup_escape.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(Base64Test, TheVectorsOfTheStandard) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\xff\xfe\x00", 3), "//4A"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Base64(bytes), text) << bytes;
    }
}

TEST(EscapeMarkupTest, EveryMarkupCharacterBecomesAReference) {
    const std::pair<std::string, std::string> cases[] = {
        {R"(<script>alert("x")</script>)", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
        {"a & b 'c'", "a &amp; b &#39;c&#39;"},
        {"&amp;", "&amp;amp;"},
        {"c:\\pläxis\xe9 φ", "c:\\pläxis\xe9 φ"},
        {"", ""},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(EscapeMarkup(text), escaped) << text;
    }
}

TEST(HtmlTableTest, CellsEscapedLinesBrokenNumbersRight) {
    const TextTable table{{"Name", "F"}, {{"a<b\nc&d", "1.5"}}};
    EXPECT_EQ(HtmlTable(table, {false, true}),
              "<table>\n<thead><tr><th>Name</th><th class=\"n\">F</th></tr>\n</thead>\n<tbody>\n"
              "<tr><td>a&lt;b<br>c&amp;d</td><td class=\"n\">1.5</td></tr>\n</tbody>\n</table>\n");
}

} // namespace
} // namespace zelmora
