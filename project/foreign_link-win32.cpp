#include "project/foreign_link.h"

namespace zelmora {

bool FollowsForeignLink(const std::string&) {
    return false;
}

bool OwnedByAnotherUser(const std::string&) {
    return false;
}

} // namespace zelmora
