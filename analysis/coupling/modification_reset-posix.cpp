#include "analysis/coupling/modification_reset.h"

#include "project/errors.h"
#include "project/io_code.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

// Enough to tell NoModifications from anything else.
constexpr std::size_t Compared = 16;

[[noreturn]] void Fail(const std::string& path) {
    throw EInOutError(IoCodeFromErrno(errno, path));
}

} // namespace

bool ResetLeftModifications(const std::string& path) {
    const int in = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    struct stat info {};
    char bytes[Compared];
    const bool regular = fstat(in, &info) == 0 && S_ISREG(info.st_mode);
    const ssize_t count = regular ? ::read(in, bytes, sizeof bytes) : -1;
    ::close(in);
    const std::size_t expected = std::strlen(NoModifications);
    if (!regular || (count == static_cast<ssize_t>(expected) &&
                     std::memcmp(bytes, NoModifications, expected) == 0)) {
        return false;
    }
    const int out = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (out < 0) {
        Fail(path);
    }
    const bool written = ::write(out, NoModifications, expected) == static_cast<ssize_t>(expected);
    const int writeError = errno;
    if (::close(out) != 0 || !written) {
        errno = written ? errno : writeError;
        Fail(path);
    }
    return true;
}

} // namespace zelmora
