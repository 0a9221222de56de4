#include "report/html/base64.h"

#include <algorithm>
#include <cstdint>

namespace zelmora {

namespace {

constexpr std::string_view Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

char Digit(std::uint32_t group, int shift) {
    return Alphabet[(group >> shift) & 0x3F];
}

} // namespace

std::string Base64(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t k = 0; k < bytes.size(); k += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - k);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            const auto byte = j < count ? static_cast<unsigned char>(bytes[k + j]) : 0U;
            group = group << 8 | byte;
        }
        text += Digit(group, 18);
        text += Digit(group, 12);
        text += count > 1 ? Digit(group, 6) : '=';
        text += count > 2 ? Digit(group, 0) : '=';
    }
    return text;
}

} // namespace zelmora
