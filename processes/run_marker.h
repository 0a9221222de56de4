#pragma once

#include <string>
#include <vector>

namespace zelmora {

// Every calculator starts with this variable in its environment, "<analysis>-<run>", and what it
// starts inherits it: a process that carries it belongs to that run.
inline constexpr const char* RunMarkerVariable = "ZELMORA_RUN";

// A name for a new analysis, unique on this machine while this program runs: the program's
// process id and the analysis's number within it, "4711.2".
std::string NewAnalysisName();

// The marker of a run of that analysis, "4711.2-3".
std::string RunMarker(const std::string& analysis, int runId);

// The environment `current` ("NAME=value" entries) with the marker as its only ZELMORA_RUN; an
// empty marker leaves none.
std::vector<std::string> MarkedEnvironment(const std::vector<std::string>& current,
                                           const std::string& marker);

} // namespace zelmora
