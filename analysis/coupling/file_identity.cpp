#include "analysis/coupling/file_identity.h"

#include <chrono>
#include <thread>

namespace zelmora {

namespace {

constexpr std::chrono::milliseconds Poll{1};
constexpr time_t CoarseTimestampSeconds = 2;

bool After(const timespec& a, const timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

} // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

void WaitPastModificationTime(const timespec& modified) {
    timespec until = modified;
    // A time without a sub-second part comes from a file system with one- or two-second
    // timestamps: a rewrite within two seconds might get the very same time.
    if (modified.tv_nsec == 0) {
        until.tv_sec += CoarseTimestampSeconds;
        until.tv_nsec = -1;
    }
    for (timespec now = CoarseNow(); !After(now, until); now = CoarseNow()) {
        if (modified.tv_sec > now.tv_sec + 1) {
            return;
        }
        std::this_thread::sleep_for(Poll);
    }
}

} // namespace zelmora
