#include "cli/stream_log.h"

#include "project/terminal_text.h"

#include <cerrno>

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
    errno = 0;
    const bool written = std::fwrite(shown.data(), 1, shown.size(), stream_) == shown.size() &&
                         std::fputc('\n', stream_) != EOF && std::fflush(stream_) == 0;
    if (!written && writeError_ == 0) {
        writeError_ = errno != 0 ? errno : EIO;
    }
    if (afterLine) {
        afterLine();
    }
}

} // namespace zelmora::batch
