#include "project/foreign_link.h"

#include "project/follow_links.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

bool FollowsForeignLink(const std::string& path) {
    return FollowLinks(path).empty() && errno == EACCES;
}

bool OwnedByAnotherUser(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && info.st_uid != geteuid();
}

} // namespace zelmora
