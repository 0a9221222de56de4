#include "project/file_descriptor.h"

#include "project/io_code.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr int AccessDenied = 5;

bool IsOtherThanRegular(const std::string& name) {
    struct stat info {};
    return stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

} // namespace

void CloseRecordingCode(int& fd, const std::string& name) {
    const int result = ::close(fd);
    fd = -1;
    if (result != 0 && errno != EINTR) {
        RecordIoCode(IoCodeFromErrno(errno, name));
    }
}

int OpenRegularFile(const std::string& name, int flags, mode_t mode) {
    if (IsOtherThanRegular(name)) {
        RecordIoCode(AccessDenied);
        return -1;
    }
    const int fd = ::open(name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
        // A pipe without a reader, a socket or a device without its driver answers ENXIO.
        // A link opened with O_NOFOLLOW answers ELOOP.
        const bool refused = errno == ENXIO || (errno == ELOOP && (flags & O_NOFOLLOW) != 0);
        RecordIoCode(refused ? AccessDenied : IoCodeFromErrno(errno, name));
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        RecordIoCode(AccessDenied);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int OpenRegularFileNotLink(const std::string& name, int flags, mode_t mode) {
    return OpenRegularFile(name, flags | O_NOFOLLOW, mode);
}

std::ptrdiff_t ReadRecordingCode(int fd, char* data, std::size_t size, const std::string& name) {
    ssize_t count;
    do {
        count = ::read(fd, data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        RecordIoCode(IoCodeFromErrno(errno, name));
    }
    return count;
}

std::ptrdiff_t SystemWrite(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

bool WriteInterrupted() {
    return errno == EINTR;
}

} // namespace zelmora
