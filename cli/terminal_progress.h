#pragma once

#include "analysis/runs/analysis_progress.h"

#include <string>

namespace zelmora::batch {

// The progress line on a terminal's standard error, rewritten in place; silent when standard
// error is not a terminal (or a Windows console that takes no escape sequences).
class TerminalProgress {
public:
    TerminalProgress();

    void Show(const AnalysisProgress& progress);
    void Clear();  // makes room for another line
    void Redraw(); // puts the line back
    void Finish(); // leaves the last line standing

private:
    bool terminal_;
    std::string text_;
    bool shown_ = false;
};

} // namespace zelmora::batch
