#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// Text made safe for HTML and XML, in content and in quoted attributes alike: & < > " ' become
// character references; every other byte stays as it is.
std::string EscapeMarkup(std::string_view text);

} // namespace zelmora
