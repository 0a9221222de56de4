#pragma once

#include "analysis/methods/calculation_log.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace zelmora::batch {

// The calculation log of the command line: every line after the title line is written to a
// stream the moment it is appended.
class StreamLog : public CalculationLog {
public:
    explicit StreamLog(std::FILE* stream) : stream_(stream) {}

    void Show() override {}
    int LineCount() const override { return static_cast<int>(lines_.size()); }
    void DeleteLine(int position) override;
    void AppendLine(const std::string& line) override;
    void SetProbabilityLabel(const std::string& /*text*/) override {}

    // The errno of the first line that could not be written, 0 while every line was.
    int WriteError() const { return writeError_; }

    // Called around each written line, so that a progress line on the terminal makes room.
    std::function<void()> beforeLine;
    std::function<void()> afterLine;

private:
    std::FILE* stream_;
    int writeError_ = 0;
    std::vector<std::string> lines_{"Zelmora"};
};

} // namespace zelmora::batch
