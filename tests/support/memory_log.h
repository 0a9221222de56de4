#pragma once

#include "analysis/methods/calculation_log.h"

#include <string>
#include <vector>

namespace test_support {

// The calculation log as a list of lines, starting with the window's title line.
class MemoryLog : public zelmora::CalculationLog {
public:
    void Show() override { ++showCount; }
    int LineCount() const override { return static_cast<int>(lines.size()); }
    void DeleteLine(int position) override {
        if (position >= 0 && position < LineCount()) {
            lines.erase(lines.begin() + position);
        }
    }
    void AppendLine(const std::string& line) override { lines.push_back(line); }
    void SetProbabilityLabel(const std::string& text) override { probabilityLabel = text; }

    std::vector<std::string> lines{"Zelmora"};
    std::string probabilityLabel;
    int showCount = 0;
};

} // namespace test_support
