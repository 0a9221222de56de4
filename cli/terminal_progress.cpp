#include "cli/terminal_progress.h"

#include "cli/terminal_escapes.h"

#include <cstdio>
#include <unistd.h>

namespace zelmora::batch {

namespace {

constexpr const char* EraseLine = "\r\x1b[K";

} // namespace

TerminalProgress::TerminalProgress()
    : terminal_(isatty(STDERR_FILENO) == 1 && EnableTerminalEscapes()) {}

void TerminalProgress::Show(const AnalysisProgress& progress) {
    const std::string text = FormatProgress(progress);
    if (text == text_ && shown_) {
        return;
    }
    text_ = text;
    Redraw();
}

void TerminalProgress::Clear() {
    if (terminal_ && shown_) {
        std::fputs(EraseLine, stderr);
        std::fflush(stderr);
        shown_ = false;
    }
}

void TerminalProgress::Redraw() {
    if (terminal_ && !text_.empty()) {
        std::fprintf(stderr, "%s%s", EraseLine, text_.c_str());
        std::fflush(stderr);
        shown_ = true;
    }
}

void TerminalProgress::Finish() {
    if (terminal_ && shown_) {
        std::fputc('\n', stderr);
        shown_ = false;
    }
}

} // namespace zelmora::batch
