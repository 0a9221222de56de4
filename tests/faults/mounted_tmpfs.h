#pragma once

#include <string>
#include <sys/mount.h>
#include <utility>

namespace zelmora::testing {

// A small tmpfs mounted over a folder for the lifetime of the object, where this process may
// mount one (as root, outside a restricted container); mounted() tells whether it could.
class MountedTmpfs {
public:
    MountedTmpfs(std::string folder, int kibibytes) : folder_(std::move(folder)) {
        const std::string options = "size=" + std::to_string(kibibytes) + "k,mode=0755";
        mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;
    ~MountedTmpfs() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }

    bool mounted() const { return mounted_; }

    // Makes the file system read-only, for root too; false when that fails.
    bool RemountReadOnly() const {
        return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
};

} // namespace zelmora::testing
