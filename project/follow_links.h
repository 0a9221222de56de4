#pragma once

#include <string>

namespace zelmora {

// Everything up to and including the last "/", empty for a name without a folder.
std::string FolderPrefix(const std::string& path);

// The path with the symbolic links at its end followed, also a link to a file not yet there.
// A link in a folder that its group or others may write, sticky or not, is followed only when
// it is our own: a link another user planted there could otherwise lead a save onto one of our
// files elsewhere, or a read to a file of theirs. Empty with errno set when a link is refused
// (EACCES) or the links loop (ELOOP).
std::string FollowLinks(std::string path);

} // namespace zelmora
