#include "analysis/workcopies/tree_copy.h"

#include "analysis/workcopies/tree_copy_at.h"

#include <fcntl.h>

namespace zelmora {

int CopyFileContents(const std::string& from, const std::string& to) {
    return CopyFileAt(from, AT_FDCWD, to);
}

int CopyTree(const std::string& from, const std::string& to, std::string& failedPath) {
    return CopyTreeAt(from, AT_FDCWD, to, failedPath);
}

int RemoveTree(const std::string& path) {
    return RemoveTreeAt(AT_FDCWD, path);
}

} // namespace zelmora
