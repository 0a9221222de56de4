#include "analysis/tree_copy.h"

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
            return ECANCELED;
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
            return ECANCELED;
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

int CopyLink(const std::string& from, const std::string& to) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(from.c_str(), target.data(), target.size());
    if (length < 0) {
        return errno;
    }
    target.resize(static_cast<std::size_t>(length));
    return symlink(target.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::vector<std::string> Entries(DIR* folder) {
    std::vector<std::string> names;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace

const int CopyStopped = ECANCELED;

int CopyFileContents(const std::string& from, const std::string& to,
                     const CopyStopAsked& stopAsked) {
    const Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0) {
        return errno;
    }
    struct stat info {};
    if (fstat(in.get(), &info) != 0) {
        return errno;
    }
    const Descriptor out(
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777));
    if (out.get() < 0) {
        return errno;
    }
    return CopyContents(in.get(), out.get(), stopAsked);
}

int CopyTree(const std::string& from, const std::string& to, std::string& failedPath,
             const CopyStopAsked& stopAsked) {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(from.c_str()), closedir);
    failedPath = from;
    if (!folder) {
        return errno;
    }
    failedPath = to;
    if (mkdir(to.c_str(), 0700) != 0) {
        return errno;
    }
    for (const std::string& name : Entries(folder.get())) {
        const std::string source = from + "/" + name;
        const std::string target = to + "/" + name;
        struct stat info {};
        failedPath = source;
        if (lstat(source.c_str(), &info) != 0) {
            return errno;
        }
        int error = 0;
        if (S_ISDIR(info.st_mode)) {
            error = CopyTree(source, target, failedPath, stopAsked);
        } else if (S_ISREG(info.st_mode)) {
            error = CopyFileContents(source, target, stopAsked);
        } else if (S_ISLNK(info.st_mode)) {
            error = CopyLink(source, target);
        }
        if (error != 0) {
            failedPath = target;
            return error;
        }
    }
    struct stat info {};
    if (stat(from.c_str(), &info) == 0) {
        chmod(to.c_str(), info.st_mode & 07777);
    }
    return 0;
}

int RemoveTree(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ::unlink(path.c_str()) == 0 ? 0 : errno;
    }
    // A copy of a read-only folder must still be emptied.
    chmod(path.c_str(), (info.st_mode & 07777) | S_IRWXU);
    {
        const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(path.c_str()), closedir);
        if (!folder) {
            return errno;
        }
        for (const std::string& name : Entries(folder.get())) {
            if (const int error = RemoveTree(path + "/" + name); error != 0) {
                return error;
            }
        }
    }
    return ::rmdir(path.c_str()) == 0 ? 0 : errno;
}

} // namespace zelmora
