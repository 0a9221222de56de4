#include "project/atomic_save.h"

#include "project/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MaxLinkHops = 40;
constexpr int MaxNameTries = 100;

// Everything up to and including the last "/", empty for a name without a folder.
std::string FolderPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The path with symbolic links at its end followed, also a link to a file not yet there;
// empty with errno set when the links loop.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0) {
            return path;
        }
        link.resize(static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : FolderPrefix(path) + link;
    }
    errno = ELOOP;
    return {};
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char digits[] = "0123456789abcdef";
    std::uint64_t bits = generator();
    std::string suffix;
    for (int i = 0; i < 12; ++i, bits >>= 4) {
        suffix += digits[bits & 15];
    }
    return suffix;
}

} // namespace

AtomicSave::AtomicSave(const std::string& target) : target_(target), writePath_(target) {
    if (!target.empty()) {
        Prepare(target);
    }
}

AtomicSave::~AtomicSave() {
    if (temporaryFd_ >= 0) {
        ::close(temporaryFd_);
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
    }
}

void AtomicSave::Prepare(const std::string& path) {
    const std::string resolved = FollowLinks(path);
    if (resolved.empty()) {
        Fail(errno);
        return;
    }
    target_ = resolved;
    struct stat info {};
    if (stat(resolved.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            CreateTemporary(resolved);
        } else {
            Fail(errno);
        }
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        return;
    }
    if (faccessat(AT_FDCWD, resolved.c_str(), W_OK, AT_EACCESS) != 0) {
        Fail(errno);
        return;
    }
    replacesOld_ = true;
    oldMode_ = info.st_mode & 07777;
    oldOwner_ = info.st_uid;
    oldGroup_ = info.st_gid;
    CreateTemporary(resolved);
}

// Created with the usual permissions of a new file, so the umask applies as to a plain open.
void AtomicSave::CreateTemporary(const std::string& path) {
    const std::string prefix = FolderPrefix(path) + ".zelmora-";
    for (int attempt = 0; attempt < MaxNameTries; ++attempt) {
        const std::string name = prefix + RandomSuffix() + ".tmp";
        temporaryFd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temporaryFd_ >= 0) {
            temporary_ = name;
            writePath_ = name;
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    Fail(errno);
}

void AtomicSave::Commit() {
    if (temporary_.empty()) {
        return;
    }
    if (replacesOld_) {
        // Only a privileged saver may hand the file back to its owner; others keep it.
        [[maybe_unused]] const int ignored = fchown(temporaryFd_, oldOwner_, oldGroup_);
        if (fchmod(temporaryFd_, oldMode_) != 0) {
            Fail(errno);
            return;
        }
    }
    if (fsync(temporaryFd_) != 0) {
        Fail(errno);
        return;
    }
    const int closed = ::close(temporaryFd_);
    temporaryFd_ = -1;
    if (closed != 0 && errno != EINTR) {
        Fail(errno);
        return;
    }
    if (rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
        return;
    }
    temporary_.clear();
}

void AtomicSave::Fail(int error) {
    RecordIoCode(IoCodeFromErrno(error, target_));
    writePath_.clear();
}

} // namespace zelmora
