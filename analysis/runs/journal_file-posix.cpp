#include "analysis/runs/journal_file.h"

#include "project/errors.h"
#include "project/io_code.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zelmora {

namespace {

[[noreturn]] void Fail(const std::string& path) {
    throw EInOutError(IoCodeFromErrno(errno, path));
}

void SyncFolderOf(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        errno = error;
        Fail(folder);
    }
    ::close(fd);
}

} // namespace

void JournalFile::Append(const std::string& line) {
    if (fd_ < 0) {
        bool created = true;
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     0600);
        if (fd_ < 0 && errno == EEXIST) {
            created = false;
            fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd_ < 0) {
            Fail(path_);
        }
        if (created) {
            SyncFolderOf(path_);
        }
    }
    const ssize_t written = ::write(fd_, line.data(), line.size());
    if (written < 0 || static_cast<std::size_t>(written) != line.size()) {
        if (written >= 0) {
            errno = ENOSPC;
        }
        Fail(path_);
    }
    if (fdatasync(fd_) != 0) {
        Fail(path_);
    }
}

void JournalFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace zelmora
