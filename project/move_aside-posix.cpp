#include "project/move_aside.h"

#include "project/errors.h"
#include "project/io_code.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

bool MoveAside(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        throw EInOutError(IoCodeFromErrno(errno, from));
    }
    // A file system without the no-replace rename: a hard link fails on an existing name too.
    if (link(from.c_str(), to.c_str()) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        throw EInOutError(IoCodeFromErrno(errno, from));
    }
    if (unlink(from.c_str()) != 0) {
        throw EInOutError(IoCodeFromErrno(errno, from));
    }
    return true;
}

} // namespace zelmora
