#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// Text as it may go to a terminal, whole: every control character shown as "?" as ShownText
// shows it, so that a path or a message cannot move the cursor, retitle the window or read
// backwards.
std::string TerminalText(std::string_view text);

} // namespace zelmora
