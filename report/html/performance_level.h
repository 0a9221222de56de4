#pragma once

#include <string>

namespace zelmora {

// The source of the table PerformanceLevel reads from, as the report cites it.
inline constexpr const char* PerformanceLevelSource =
    "US Army Corps of Engineers, ETL 1110-2-556 (1999)";

// The expected performance level of a reliability index in the words of that table: the level
// of the largest tabulated β not above `beta`, "Hazardous" below the smallest.
std::string PerformanceLevel(double beta);

} // namespace zelmora
