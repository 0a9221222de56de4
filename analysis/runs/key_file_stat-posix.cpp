#include "analysis/runs/key_file_stat.h"

#include <sys/stat.h>

namespace zelmora {

namespace {

constexpr std::int64_t NsPerSecond = 1000000000;

std::int64_t Ns(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * NsPerSecond + time.tv_nsec;
}

} // namespace

std::optional<KeyFileStat> StatForKey(const std::string& path, bool follow) {
    struct stat info {};
    if ((follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info)) != 0) {
        return std::nullopt;
    }
    return KeyFileStat{S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size),
                       Ns(info.st_mtim), Ns(info.st_ctim), static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace zelmora
