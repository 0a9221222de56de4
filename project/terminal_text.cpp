#include "project/terminal_text.h"

#include "project/shown_text.h"

namespace zelmora {

std::string TerminalText(std::string_view text) {
    return ShownText(text, std::string_view::npos);
}

} // namespace zelmora
