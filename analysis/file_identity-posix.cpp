#include "analysis/file_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr long PollNanoseconds = 1'000'000;

FileIdentity IdentityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool After(const timespec& a, const timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

} // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOfOpenedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    const bool known = fstat(fd, &info) == 0;
    ::close(fd);
    if (!known) {
        return std::nullopt;
    }
    return IdentityOf(info);
}

timespec CoarseNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

void WaitPastModificationTime(const timespec& modified) {
    const timespec interval{0, PollNanoseconds};
    for (timespec now = CoarseNow(); !After(now, modified); now = CoarseNow()) {
        if (modified.tv_sec > now.tv_sec + 1) {
            return;
        }
        nanosleep(&interval, nullptr);
    }
}

} // namespace zelmora
