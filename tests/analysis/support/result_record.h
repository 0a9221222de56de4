#pragma once

#include <string>

namespace zelmora::testing {

// One result-file record as the calculator writes it: a title line, four numbers with the
// safety factor last, ten lines of detail, six numbers.
inline std::string ResultRecord(const std::string& safetyFactor) {
    std::string text = "Step 12 phi-c reduction\r\n 12 0.01 3.5 " + safetyFactor + "\r\n";
    for (int k = 0; k < 10; ++k) {
        text += " detail 9.9 9.9 9.9\r\n";
    }
    return text + " 1 2 3 4 5 6\r\n";
}

} // namespace zelmora::testing
