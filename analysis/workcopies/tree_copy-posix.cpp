#include "analysis/workcopies/tree_copy.h"

#include "analysis/workcopies/tree_copy_at.h"

#include <cerrno>
#include <fcntl.h>

namespace zelmora {

const int CopyStopped = ECANCELED;

int CopyFileContents(const std::string& from, const std::string& to,
                     const CopyStopAsked& stopAsked) {
    return CopyFileAt(from, AT_FDCWD, to, stopAsked);
}

int CopyTree(const std::string& from, const std::string& to, std::string& failedPath,
             const CopyStopAsked& stopAsked) {
    return CopyTreeAt(from, AT_FDCWD, to, failedPath, stopAsked);
}

int RemoveTree(const std::string& path) {
    return RemoveTreeAt(AT_FDCWD, path);
}

} // namespace zelmora
