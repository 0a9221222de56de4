#include "analysis/workcopies/tree_copy_at.h"

#include "project/errors.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zelmora {

namespace {

constexpr std::size_t ChunkBytes = 1 << 20;

// A descriptor closed at the end of its scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

bool Asked(const CopyStopAsked& stopAsked) {
    return stopAsked && stopAsked();
}

// Plain reads and writes, where the file system offers no copy_file_range between the two.
int CopyByReading(int in, int out, const CopyStopAsked& stopAsked) {
    std::vector<char> buffer(ChunkBytes);
    while (true) {
        if (Asked(stopAsked)) {
            return CopyStopped;
        }
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t wrote =
                ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (wrote < 0 && errno != EINTR) {
                return errno;
            }
            done += wrote > 0 ? wrote : 0;
        }
    }
}

int CopyContents(int in, int out, const CopyStopAsked& stopAsked) {
    while (true) {
        if (Asked(stopAsked)) {
            return CopyStopped;
        }
        const ssize_t copied = copy_file_range(in, nullptr, out, nullptr, ChunkBytes, 0);
        if (copied == 0) {
            return 0;
        }
        if (copied < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
                return CopyByReading(in, out, stopAsked);
            }
            return errno;
        }
    }
}

// Copies the open regular file `in` as the new file `to` in `toFolder`.
int CopyOpenedFile(int in, int toFolder, const std::string& to, const CopyStopAsked& stopAsked) {
    struct stat info {};
    if (fstat(in, &info) != 0) {
        return errno;
    }
    const Descriptor out(openat(toFolder, to.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                info.st_mode & 07777));
    if (out.get() < 0) {
        return errno;
    }
    return CopyContents(in, out.get(), stopAsked);
}

int CopyFolder(int from, const std::string& fromPath, int toFolder, const std::string& to,
               std::string& failedPath, const CopyStopAsked& stopAsked);

// A link is copied as the regular file it names; what it names otherwise is left out, except a
// folder, which would lead the calculator's writes out of the copy.
int CopyLinkTarget(int from, const std::string& name, const std::string& path, int to,
                   const CopyStopAsked& stopAsked) {
    const Descriptor in(openat(from, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (in.get() < 0 || fstat(in.get(), &info) != 0) {
        return 0;
    }
    if (S_ISDIR(info.st_mode)) {
        throw Error("The data folder holds a link to a folder, which a work copy cannot hold: " +
                    path);
    }
    return S_ISREG(info.st_mode) ? CopyOpenedFile(in.get(), to, name, stopAsked) : 0;
}

int CopyEntry(int from, const std::string& name, const std::string& path, int to,
              std::string& failedPath, const CopyStopAsked& stopAsked) {
    struct stat info {};
    if (fstatat(from, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (S_ISLNK(info.st_mode)) {
        return CopyLinkTarget(from, name, path, to, stopAsked);
    }
    if (S_ISDIR(info.st_mode)) {
        const Descriptor folder(
            openat(from, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        return folder.get() < 0 ? errno
                                : CopyFolder(folder.get(), path, to, name, failedPath, stopAsked);
    }
    if (S_ISREG(info.st_mode)) {
        const Descriptor in(
            openat(from, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        return in.get() < 0 ? errno : CopyOpenedFile(in.get(), to, name, stopAsked);
    }
    return 0;
}

int CopyFolder(int from, const std::string& fromPath, int toFolder, const std::string& to,
               std::string& failedPath, const CopyStopAsked& stopAsked) {
    failedPath = fromPath;
    if (mkdirat(toFolder, to.c_str(), 0700) != 0) {
        return errno;
    }
    const Descriptor copy(openat(toFolder, to.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    if (copy.get() < 0) {
        return errno;
    }
    for (const std::string& name : FolderEntries(from)) {
        const std::string path = fromPath + "/" + name;
        if (const int error = CopyEntry(from, name, path, copy.get(), failedPath, stopAsked);
            error != 0) {
            failedPath = path;
            return error;
        }
    }
    struct stat info {};
    if (fstat(from, &info) == 0) {
        fchmod(copy.get(), info.st_mode & 07777);
    }
    return 0;
}

} // namespace

std::vector<std::string> FolderEntries(int folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(fdopendir(dup(folder)), closedir);
    if (!listing) {
        return names;
    }
    rewinddir(listing.get());
    while (const dirent* entry = readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    return names;
}

int CopyTreeAt(const std::string& from, int toFolder, const std::string& to,
               std::string& failedPath, const CopyStopAsked& stopAsked) {
    failedPath = from;
    const Descriptor folder(::open(from.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return errno;
    }
    return CopyFolder(folder.get(), from, toFolder, to, failedPath, stopAsked);
}

int CopyFileAt(const std::string& from, int toFolder, const std::string& to,
               const CopyStopAsked& stopAsked) {
    const Descriptor in(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (in.get() < 0) {
        return errno;
    }
    return CopyOpenedFile(in.get(), toFolder, to, stopAsked);
}

int RemoveTreeAt(int folder, const std::string& name) {
    struct stat info {};
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (!S_ISDIR(info.st_mode)) {
        return unlinkat(folder, name.c_str(), 0) == 0 ? 0 : errno;
    }
    {
        const Descriptor inner(
            openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (inner.get() < 0) {
            return errno;
        }
        // A copy of a read-only folder must still be emptied.
        fchmod(inner.get(), (info.st_mode & 07777) | S_IRWXU);
        for (const std::string& entry : FolderEntries(inner.get())) {
            if (const int error = RemoveTreeAt(inner.get(), entry); error != 0) {
                return error;
            }
        }
    }
    return unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

} // namespace zelmora
