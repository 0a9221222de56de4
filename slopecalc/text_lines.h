#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slopecalc {

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Lines ended by LF or CR LF; a last line without a line end counts, an empty rest does not.
std::vector<std::string_view> SplitLines(std::string_view text);

// Words separated by runs of blanks and tabs.
std::vector<std::string_view> SplitWords(std::string_view line);

} // namespace slopecalc
