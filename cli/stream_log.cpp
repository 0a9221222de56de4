#include "cli/stream_log.h"

#include "project/terminal_text.h"

namespace zelmora::batch {

void StreamLog::DeleteLine(int position) {
    if (position >= 0 && position < LineCount()) {
        lines_.erase(lines_.begin() + position);
    }
}

void StreamLog::AppendLine(const std::string& line) {
    lines_.push_back(line);
    if (beforeLine) {
        beforeLine();
    }
    const std::string shown = TerminalText(line);
    std::fwrite(shown.data(), 1, shown.size(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
    if (afterLine) {
        afterLine();
    }
}

} // namespace zelmora::batch
