#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// The bytes in the base64 alphabet of RFC 4648 with "=" padding, as data URLs take them.
std::string Base64(std::string_view bytes);

} // namespace zelmora
