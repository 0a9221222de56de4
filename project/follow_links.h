#pragma once

#include <string>

namespace zelmora {

// Everything up to and including the last "/", empty for a name without a folder.
std::string FolderPrefix(const std::string& path);

// The path with the symbolic links at its end followed, also a link to a file not yet there.
// Whatever the machine's own setting, a link is followed only under the kernel's
// protected-symlink rule: in a sticky folder that everybody may write (such as /tmp) only a
// link of our own or of the folder's owner, so that a link planted there by another user
// cannot redirect a save onto one of our files. Empty with errno set when a link is refused
// (EACCES) or the links loop (ELOOP).
std::string FollowLinks(std::string path);

} // namespace zelmora
