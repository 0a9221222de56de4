#include "analysis/runs/calculator_output.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>

namespace zelmora {
namespace {

// What a failing run's error shows of the log: only what the run wrote, its last lines.
TEST(CalculatorOutput, TheLastLinesTheRunWrote) {
    const struct {
        const char* log;
        std::uintmax_t start;
        std::vector<std::string> lines;
    } cases[] = {
        {"earlier run\nmine\n", 12, {"mine"}},
        {"a\nb\nc\nd\ne\nf\ng\n", 0, {"c", "d", "e", "f", "g"}},
        {"windows\r\nline ends\r\n\r\n  \n", 0, {"windows", "line ends"}},
        {"no line end", 0, {"no line end"}},
        {"earlier run\n", 12, {}},
        {"", 0, {}},
    };
    test_support::TempFolder folder;
    const std::string log = folder.File("calculator.log");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        test_support::WriteBytes(log, c.log);
        EXPECT_EQ(LastOutputLines(log, c.start), c.lines);
    }
    EXPECT_EQ(CalculatorLogLength(log), 0U);
    EXPECT_TRUE(LastOutputLines(folder.File("absent"), 0).empty());
}

// A runaway log is read only at its end, and a line cut there is not shown as whole; a long
// line is echoed to 200 characters.
TEST(CalculatorOutput, ALongLogIsReadAtItsEnd) {
    test_support::TempFolder folder;
    const std::string log = folder.File("calculator.log");
    test_support::WriteBytes(log,
                             std::string(100000, 'x') + "\n" + std::string(500, 'y') + "\nlast\n");
    const std::vector<std::string> lines = LastOutputLines(log, 0);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], std::string(200, 'y') + "\u2026");
    EXPECT_EQ(lines[1], "last");
    EXPECT_EQ(CalculatorLogLength(log), 100507U);
}

// The calculator's reason is the last of its lines that holds one of the words, in any case,
// without its blanks and with its controls shown as "?".
TEST(CalculatorOutput, TheReasonIsTheLastLineThatGivesOne) {
    const struct {
        std::vector<std::string> lines;
        std::optional<std::string> reason;
    } cases[] = {
        {{"calculating", "set 5 read"}, std::nullopt},
        {{}, std::nullopt},
        {{"line 11: unknown keyword \"bedrok\"", "done"}, "line 11: unknown keyword \"bedrok\""},
        {{"ERROR: no stage", "  Cannot open m.dta  "}, "Cannot open m.dta"},
        {{"a sine Must stay below 1\x1b[31m", "x"}, "a sine Must stay below 1?[31m"},
        {{"Errors: 2", "terminated"}, "Errors: 2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalculatorReason(c.lines), c.reason);
    }
}

} // namespace
} // namespace zelmora
