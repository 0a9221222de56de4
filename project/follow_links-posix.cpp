#include "project/follow_links.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MaxLinkHops = 40;

bool MayFollow(const std::string& link, const struct stat& linkInfo) {
    const std::string folder = FolderPrefix(link);
    struct stat folderInfo {};
    if (stat(folder.empty() ? "." : folder.c_str(), &folderInfo) != 0) {
        return false;
    }
    return (folderInfo.st_mode & (S_IWGRP | S_IWOTH)) == 0 || linkInfo.st_uid == geteuid();
}

} // namespace

std::string FolderPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        if (!MayFollow(path, info)) {
            errno = EACCES;
            return {};
        }
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0) {
            return path;
        }
        link.resize(static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : FolderPrefix(path) + link;
    }
    errno = ELOOP;
    return {};
}

} // namespace zelmora
