#pragma once

#include <string>

namespace zelmora::batch {

// Lines of text for the terminal: each line's control characters shown as "?", its line end
// kept.
std::string TerminalLines(const std::string& text);

} // namespace zelmora::batch
