#include "project/atomic_save.h"

#include "project/follow_links.h"
#include "project/io_code.h"
#include "project/process_umask.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr mode_t PrivateMode = 0600;
constexpr std::string_view HiddenSuffix = ".zelmora-save";
constexpr std::size_t HashDigits = 16;
// What is kept of a name too long to take the hidden name's dot, hash and suffix as well.
constexpr std::size_t KeptLength = NAME_MAX - 2 - HashDigits - HiddenSuffix.size();

bool unnamedAllowed = true;

// FNV-1a: stable from run to run, so a later save finds the leftover of a killed one.
std::string HashDigitsOf(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    static constexpr char digits[] = "0123456789abcdef";
    std::string result(HashDigits, '0');
    for (std::size_t i = HashDigits; i-- > 0; hash >>= 4) {
        result[i] = digits[hash & 15];
    }
    return result;
}

// The fixed hidden name beside the target under which its temporary file is named.
std::string HiddenName(const std::string& name) {
    if (1 + name.size() + HiddenSuffix.size() > NAME_MAX) {
        return "." + name.substr(0, KeptLength) + "~" + HashDigitsOf(name) +
               std::string(HiddenSuffix);
    }
    return "." + name + std::string(HiddenSuffix);
}

std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool IsUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

void AtomicSave::SetUnnamedTemporaryForTesting(bool allowed) {
    unnamedAllowed = allowed;
}

AtomicSave::AtomicSave(const std::string& target)
    : requested_(target), target_(target), writePath_(target) {
    if (!target.empty()) {
        Prepare(target);
    }
}

AtomicSave::~AtomicSave() {
    if (temporaryFd_ >= 0) {
        ::close(temporaryFd_);
    }
    if (ownsHidden_) {
        unlinkat(folderFd_, hiddenName_.c_str(), 0);
    }
    if (folderFd_ >= 0) {
        ::close(folderFd_);
    }
}

void AtomicSave::Prepare(const std::string& path) {
    const std::string resolved = FollowLinks(path);
    if (resolved.empty()) {
        Fail(errno);
        return;
    }
    target_ = resolved;
    if (!OpenFolder()) {
        return;
    }
    struct stat info {};
    if (fstatat(folderFd_, name_.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) {
            Fail(errno);
            return;
        }
        finalMode_ = 0666 & ~ProcessUmask();
    } else if (!S_ISREG(info.st_mode)) {
        // Refused as a file that may not be written: replacing a pipe or a device with a
        // regular file is not what the user asked for, and writing into it may never end. A
        // link here is one put in place since the links were followed.
        Fail(EACCES);
        return;
    } else if (faccessat(folderFd_, name_.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0) {
        Fail(errno);
        return;
    } else {
        TakeOld(info);
    }
    CreateTemporary();
}

// The folder the target lies in, held open so that what follows cannot be led elsewhere.
bool AtomicSave::OpenFolder() {
    const std::string folder = FolderPrefix(target_);
    name_ = target_.substr(folder.size());
    hiddenName_ = HiddenName(name_);
    hidden_ = folder + hiddenName_;
    folderFd_ = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) {
        Fail(errno);
        return false;
    }
    return true;
}

void AtomicSave::TakeOld(const struct stat& info) {
    replacesOld_ = true;
    finalMode_ = info.st_mode & 07777;
    oldOwner_ = info.st_uid;
    oldGroup_ = info.st_gid;
}

// A leftover of a killed save is removed first, so that it lasts only until the next save.
void AtomicSave::CreateTemporary() {
    unlinkat(folderFd_, hiddenName_.c_str(), 0);
    if (!unnamedAllowed || !CreateUnnamed()) {
        CreateNamed();
    }
}

// False when the file system cannot make unnamed files (or /proc is missing, through which
// it is written and named); true when created or failed for a reason a named file shares.
bool AtomicSave::CreateUnnamed() {
    const int fd = openat(folderFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, PrivateMode);
    if (fd < 0) {
        if (IsUnsupported(errno)) {
            return false;
        }
        CannotCreate(errno);
        return true;
    }
    // The mode is set again since the umask may have taken the owner's write permission,
    // which opening the file once more through /proc needs.
    struct stat info {};
    if (fchmod(fd, PrivateMode) != 0 || stat(DescriptorPath(fd).c_str(), &info) != 0) {
        ::close(fd);
        return false;
    }
    temporaryFd_ = fd;
    writePath_ = DescriptorPath(fd);
    writePathIsName_ = false;
    return true;
}

void AtomicSave::CreateNamed() {
    const int fd = openat(folderFd_, hiddenName_.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, PrivateMode);
    if (fd < 0) {
        CannotCreate(errno);
        return;
    }
    temporaryFd_ = fd;
    ownsHidden_ = true;
    writePath_ = hidden_;
    if (fchmod(fd, PrivateMode) != 0) {
        Fail(errno);
        return;
    }
    WriteThroughDescriptor();
}

// Written through our own descriptor where /proc has it, so that the name cannot be swapped.
void AtomicSave::WriteThroughDescriptor() {
    struct stat info {};
    if (stat(DescriptorPath(temporaryFd_).c_str(), &info) == 0) {
        writePath_ = DescriptorPath(temporaryFd_);
        writePathIsName_ = false;
    }
}

// No file can be made beside the target: a writable old file is then rewritten in place.
void AtomicSave::CannotCreate(int error) {
    if (replacesOld_ && (error == EACCES || error == EPERM)) {
        writePath_ = target_;
        return;
    }
    Fail(error);
}

void AtomicSave::Commit() {
    if (temporaryFd_ < 0 || writePath_.empty()) {
        return;
    }
    if (replacesOld_) {
        // Only a privileged saver may hand the file back to its owner; others keep it.
        [[maybe_unused]] const int ignored = fchown(temporaryFd_, oldOwner_, oldGroup_);
    }
    if (fchmod(temporaryFd_, finalMode_) != 0 || fsync(temporaryFd_) != 0 || !NameTemporary()) {
        Fail(errno);
        return;
    }
    const int closed = ::close(temporaryFd_);
    temporaryFd_ = -1;
    if (closed != 0 && errno != EINTR) {
        Fail(errno);
        return;
    }
    if (!LinksStillAllowed() ||
        renameat(folderFd_, hiddenName_.c_str(), folderFd_, name_.c_str()) != 0) {
        Fail(errno);
        return;
    }
    ownsHidden_ = false;
}

// The links of the name given are followed again just before the rename: one of another user
// put there meanwhile fails the save.
bool AtomicSave::LinksStillAllowed() {
    return !FollowLinks(requested_).empty();
}

// Gives the complete unnamed file the hidden name, taking the place of a leftover; a named
// temporary file has it already.
bool AtomicSave::NameTemporary() {
    if (ownsHidden_) {
        return true;
    }
    unlinkat(folderFd_, hiddenName_.c_str(), 0);
    if (linkat(AT_FDCWD, writePath_.c_str(), folderFd_, hiddenName_.c_str(), AT_SYMLINK_FOLLOW) !=
        0) {
        return false;
    }
    ownsHidden_ = true;
    return true;
}

void AtomicSave::Fail(int error) {
    RecordIoCode(IoCodeFromErrno(error, target_));
    writePath_.clear();
}

} // namespace zelmora
