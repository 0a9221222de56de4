#pragma once

#include <filesystem>
#include <string>
#include <sys/mount.h>

namespace test_support {

// A tmpfs mounted on a folder for as long as the object lives; Mounted() is false where the
// process may not mount (the tests that need it then skip).
class ScopedTmpfs {
public:
    ScopedTmpfs(const std::string& folder, const std::string& options) : folder_(folder) {
        std::filesystem::create_directories(folder);
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;
    ~ScopedTmpfs() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }

    bool Mounted() const { return mounted_; }
    bool RemountReadOnly() {
        return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
};

} // namespace test_support
