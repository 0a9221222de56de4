#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// Appends `item` to a list kept as text, with `separator` before every item but the first.
inline void AppendJoined(std::string& list, std::string_view separator, std::string_view item) {
    if (!list.empty()) {
        list += separator;
    }
    list += item;
}

} // namespace zelmora
