#include "slopecalc/printable_text.h"

#include <array>

namespace slopecalc {
namespace {

// The lead bytes of UTF-8 characters of two to four bytes, and the range of the byte after
// the lead that rules out overlong forms, surrogates and code points above U+10FFFF.
struct LeadRange {
    unsigned char firstLead;
    unsigned char lastLead;
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

constexpr std::array<LeadRange, 8> LeadRanges{{
    {0xC2, 0xDF, 2, 0x80, 0xBF},
    {0xE0, 0xE0, 3, 0xA0, 0xBF},
    {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F},
    {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF},
    {0xF4, 0xF4, 4, 0x80, 0x8F},
}};

unsigned char Byte(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]);
}

// The length of the UTF-8 character at the start of text, 0 when there is none.
std::size_t CharacterLength(std::string_view text) {
    const unsigned char lead = Byte(text, 0);
    if (lead < 0x80) {
        return 1;
    }
    for (const LeadRange& range : LeadRanges) {
        if (lead < range.firstLead || lead > range.lastLead) {
            continue;
        }
        if (text.size() < range.length || Byte(text, 1) < range.secondLow ||
            Byte(text, 1) > range.secondHigh) {
            return 0;
        }
        for (std::size_t i = 2; i < range.length; ++i) {
            if (Byte(text, i) < 0x80 || Byte(text, i) > 0xBF) {
                return 0;
            }
        }
        return range.length;
    }
    return 0;
}

bool IsControl(std::string_view character) {
    const unsigned char lead = Byte(character, 0);
    return lead < 0x20 || lead == 0x7F || (lead == 0xC2 && Byte(character, 1) < 0xA0);
}

} // namespace

std::string PrintableText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = CharacterLength(text);
        const std::string_view character = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || IsControl(character)) {
            printable += '?';
        } else {
            printable += character;
        }
        text.remove_prefix(character.size());
    }
    return printable;
}

} // namespace slopecalc
