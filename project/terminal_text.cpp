#include "project/terminal_text.h"

namespace zelmora {

std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        const bool encodedC1 = c == 0xc2 && k + 1 < text.size() &&
                               static_cast<unsigned char>(text[k + 1]) >= 0x80 &&
                               static_cast<unsigned char>(text[k + 1]) <= 0x9f;
        if (c < 0x20 || c == 0x7f) {
            shown += '?';
        } else if (encodedC1) {
            shown += '?';
            ++k;
        } else {
            shown += text[k];
        }
    }
    return shown;
}

} // namespace zelmora
