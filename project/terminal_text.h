#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// Text as it may go to a terminal: every control character (C0, DEL, and C1 as UTF-8 encodes
// it) shown as "?", so that a path or a message cannot move the cursor or retitle the window.
std::string TerminalText(std::string_view text);

} // namespace zelmora
