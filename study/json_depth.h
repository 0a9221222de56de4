#pragma once

#include <string_view>

namespace zelmora {

// Whether the JSON text nests arrays and objects deeper than `levels`, the brackets inside
// strings not counted. One pass without allocation, so that a file of brackets alone is refused
// at once instead of being built up as a tree first.
bool NestedDeeperThan(std::string_view text, int levels);

} // namespace zelmora
