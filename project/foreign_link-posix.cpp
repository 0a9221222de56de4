#include "project/foreign_link.h"

#include "project/follow_links.h"

#include <cerrno>

namespace zelmora {

bool FollowsForeignLink(const std::string& path) {
    return FollowLinks(path).empty() && errno == EACCES;
}

} // namespace zelmora
