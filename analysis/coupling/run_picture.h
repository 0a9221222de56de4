#pragma once

#include "analysis/coupling/file_identity.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zelmora {

// The largest calculator picture kept for the report.
inline constexpr std::int64_t MaxPictureBytes = std::int64_t{2} * 1024 * 1024;

// The calculator's picture of one run, named like the result file with ".svg". Only the run's
// own picture counts: one left by an earlier run, or a link to any other file, would put
// something into the report that the run never drew.
class RunPicture {
public:
    // Notes the picture as it is before the run starts.
    explicit RunPicture(const std::string& resultPath);

    // The picture after the run: a regular file (never a link, nor on Windows a reparse point)
    // of at most MaxPictureBytes whose identity (device, inode, size, time) changed during the
    // run; empty otherwise.
    std::string Read() const;

private:
    std::string path_;
    std::optional<FileIdentity> before_;
};

} // namespace zelmora
