#include "project/io_code.h"

#include <cerrno>
#include <sys/stat.h>

namespace zelmora {

namespace {

// The folder part of a path: everything before its last "/", or "." when there is none.
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

int IoCodeFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return IsFolder(FolderOf(path)) ? 2 : 3;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    default:
        return 1000 + error;
    }
}

int IoCodeFromErrorCode(const std::error_code& error, const std::string& path) {
    return IoCodeFromErrno(error.value(), path);
}

int IoCodeOfLastFailure(const std::string& path) {
    return IoCodeFromErrno(errno, path);
}

} // namespace zelmora
