#pragma once

#include <map>
#include <string>

namespace zelmora {

// Who the report is for and who answers for it; an empty one is a line to fill in by hand.
struct SignOff {
    std::string job;
    std::string client;
    std::string preparedBy;
    std::string checkedBy;
};

// What the report shows of the project's study settings.
struct ReportStudy {
    double targetBeta = 3.0;
    std::map<int, std::string> setNames; // keyed by soil row, 1..10
    SignOff signOff;
};

} // namespace zelmora
