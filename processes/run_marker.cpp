#include "processes/run_marker.h"

#include <atomic>
#include <unistd.h>

namespace zelmora {

std::string NewAnalysisName() {
    static std::atomic<int> analyses{0};
    return std::to_string(getpid()) + "." + std::to_string(++analyses);
}

std::string RunMarker(const std::string& analysis, int runId) {
    return analysis + "-" + std::to_string(runId);
}

std::vector<std::string> MarkedEnvironment(const std::vector<std::string>& current,
                                           const std::string& marker) {
    const std::string prefix = std::string(RunMarkerVariable) + "=";
    std::vector<std::string> marked;
    for (const std::string& entry : current) {
        if (!entry.starts_with(prefix)) {
            marked.push_back(entry);
        }
    }
    if (!marker.empty()) {
        marked.push_back(prefix + marker);
    }
    return marked;
}

} // namespace zelmora
