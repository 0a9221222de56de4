#include "project/shown_text.h"

namespace zelmora {

namespace {

// The length of the well-formed UTF-8 character at `k`, or 0 when none starts there.
std::size_t CharacterLength(std::string_view text, std::size_t k) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(k);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = lead == 0xe0 ? 0xa0 : 0x80;  // no overlong form
        high = lead == 0xed ? 0x9f : 0xbf; // no surrogate
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
        return 0;
    }
    if (k + length > text.size() || byte(k + 1) < low || byte(k + 1) > high) {
        return 0;
    }
    for (std::size_t n = 2; n < length; ++n) {
        if (byte(k + n) < 0x80 || byte(k + n) > 0xbf) {
            return 0;
        }
    }
    return length;
}

char32_t CodePoint(std::string_view character) {
    const auto byte = [&character](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(character[at]));
    };
    switch (character.size()) {
    case 1:
        return byte(0);
    case 2:
        return (byte(0) & 0x1f) << 6 | (byte(1) & 0x3f);
    case 3:
        return (byte(0) & 0x0f) << 12 | (byte(1) & 0x3f) << 6 | (byte(2) & 0x3f);
    default:
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3f) << 12 | (byte(2) & 0x3f) << 6 |
               (byte(3) & 0x3f);
    }
}

bool IsControl(char32_t c) {
    const bool bidirectional = (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) ||
                               c == 0x200e || c == 0x200f || c == 0x061c;
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || bidirectional;
}

} // namespace

std::string ShownText(std::string_view text, std::size_t most) {
    std::string shown;
    std::size_t characters = 0;
    std::size_t k = 0;
    while (k < text.size()) {
        if (characters == most) {
            return shown + "\u2026";
        }
        const std::size_t length = CharacterLength(text, k);
        if (length == 0) {
            // A byte of no character: a lone C1 byte is a control to an 8-bit terminal.
            const auto byte = static_cast<unsigned char>(text[k]);
            shown += byte <= 0x9f ? '?' : text[k];
            ++k;
        } else {
            const std::string_view character = text.substr(k, length);
            if (IsControl(CodePoint(character))) {
                shown += '?';
            } else {
                shown += character;
            }
            k += length;
        }
        ++characters;
    }
    return shown;
}

} // namespace zelmora
