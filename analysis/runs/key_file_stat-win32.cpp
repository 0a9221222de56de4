#include "analysis/runs/key_file_stat.h"

#include <chrono>
#include <filesystem>

namespace zelmora {

std::optional<KeyFileStat> StatForKey(const std::string& path, bool follow) {
    std::error_code error;
    const std::filesystem::file_status status = follow
                                                    ? std::filesystem::status(path, error)
                                                    : std::filesystem::symlink_status(path, error);
    if (error) {
        return std::nullopt;
    }
    KeyFileStat stat;
    stat.regular = std::filesystem::is_regular_file(status);
    if (stat.regular) {
        stat.size = std::filesystem::file_size(path, error);
        const auto written = std::filesystem::last_write_time(path, error);
        stat.modifiedNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch())
                .count();
    }
    return error ? std::nullopt : std::optional<KeyFileStat>(stat);
}

} // namespace zelmora
