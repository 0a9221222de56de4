#pragma once

#include <string>

namespace zelmora {

// True when following the links at the end of `path` would follow one that another user owns
// in a folder its group or others may write (see FollowLinks). Always false on Windows, whose
// links only the privileged may make.
bool FollowsForeignLink(const std::string& path);

// True when the file the path names, its links followed, belongs to another user than the
// caller. Always false on Windows.
bool OwnedByAnotherUser(const std::string& path);

} // namespace zelmora
