#pragma once

#include <string>
#include <string_view>

namespace slopecalc {

// Text from an input file as a message may show it: each control character (C0, DEL, and C1
// in UTF-8) and each byte that is not part of a UTF-8 character becomes "?", so that a file
// cannot move the cursor, recolour or retitle the terminal that shows the message.
std::string PrintableText(std::string_view text);

} // namespace slopecalc
