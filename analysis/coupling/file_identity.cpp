#include "analysis/coupling/file_identity.h"

#include <chrono>
#include <thread>

namespace zelmora {

namespace {

constexpr std::chrono::milliseconds Poll{1};

bool After(const timespec& a, const timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec);
}

} // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

void WaitPastModificationTime(const timespec& modified) {
    for (timespec now = CoarseNow(); !After(now, modified); now = CoarseNow()) {
        if (modified.tv_sec > now.tv_sec + 1) {
            return;
        }
        std::this_thread::sleep_for(Poll);
    }
}

} // namespace zelmora
