#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// True when a stopped analysis left its work folder as it should: gone, or holding only its
// marker and the journal of the runs done (the copies go).
inline bool OnlyTheJournalLeft(const std::string& workFolder) {
    if (!std::filesystem::exists(workFolder)) {
        return true;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(workFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names == std::vector<std::string>{".zelmora-runs", "journal.jsonl"};
}

} // namespace test_support
