#pragma once

#include <map>
#include <string>

namespace zelmora {

// What the report shows of the project's study settings.
struct ReportStudy {
    double targetBeta = 3.0;
    std::map<int, std::string> setNames; // keyed by soil row, 1..10
};

} // namespace zelmora
