#pragma once

#include <string>

namespace zelmora {

// The progress log the analysis writes into: the calculation window, or a list in tests.
class CalculationLog {
public:
    virtual ~CalculationLog() = default;
    virtual void Show() = 0;
    virtual int LineCount() const = 0;
    virtual void DeleteLine(int position) = 0; // 0-based; out of range does nothing
    virtual void AppendLine(const std::string& line) = 0;
    virtual void SetProbabilityLabel(const std::string& text) = 0;
};

} // namespace zelmora
