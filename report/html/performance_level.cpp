#include "report/html/performance_level.h"

#include <array>
#include <utility>

namespace zelmora {

std::string PerformanceLevel(double beta) {
    static constexpr std::array<std::pair<double, const char*>, 6> Levels{
        {{5.0, "High"},
         {4.0, "Good"},
         {3.0, "Above average"},
         {2.5, "Below average"},
         {2.0, "Poor"},
         {1.5, "Unsatisfactory"}}};
    for (const auto& [least, level] : Levels) {
        if (beta >= least) {
            return level;
        }
    }
    return "Hazardous";
}

} // namespace zelmora
