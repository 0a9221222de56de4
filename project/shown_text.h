#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelmora {

// The most characters of a user's text, or of a line a calculator wrote, that a message echoes.
inline constexpr std::size_t MostEchoedCharacters = 200;

// A user's text (a name, a path, a number as written) or a calculator's line as a message, a
// window or a report may show it: at most `most` characters, "…" after a text that was cut, and
// every control character shown as "?": C0 and DEL, C1 (as UTF-8 encodes it, or as a lone byte
// that belongs to no character) and the bidirectional controls, which would make the text read
// otherwise than it is.
std::string ShownText(std::string_view text, std::size_t most = MostEchoedCharacters);

} // namespace zelmora
