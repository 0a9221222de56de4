#include "cli/terminal_lines.h"

#include "project/terminal_text.h"

namespace zelmora::batch {

std::string TerminalLines(const std::string& text) {
    std::string shown;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        shown += TerminalText(std::string_view(text).substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        shown += '\n';
        start = end + 1;
    }
    return shown;
}

} // namespace zelmora::batch
