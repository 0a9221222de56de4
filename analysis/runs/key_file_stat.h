#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelmora {

// What the journal's key knows of one file without reading it.
struct KeyFileStat {
    bool regular = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0; // the inode's change time: it cannot be set back (0 on Windows)
    std::uint64_t inode = 0;    // 0 on Windows
};

// Nothing when the file cannot be examined. A link is taken as itself unless `follow`.
std::optional<KeyFileStat> StatForKey(const std::string& path, bool follow = false);

} // namespace zelmora
