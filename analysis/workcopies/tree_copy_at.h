#pragma once

#include "analysis/workcopies/tree_copy.h"

#include <string>
#include <vector>

namespace zelmora {

// Copying and removing relative to open folders (openat and its kin), so that a path swapped
// while the work copies are made or removed cannot redirect what is written or removed.

// Copies the folder `from` with everything in it into a new folder `to` (mode 0700 at first,
// then the original's permission bits) in the open folder `toFolder`. The copy holds no links:
// a link to a file is copied as the file it names; a link to a folder raises an error naming
// the link; links to nothing and other kinds of file are left out. Returns 0 or the error
// number of the failure and sets `failedPath` to the path it concerns; CopyStopped as soon as
// `stopAsked` says so, between files and between the chunks of a file.
int CopyTreeAt(const std::string& from, int toFolder, const std::string& to,
               std::string& failedPath, const CopyStopAsked& stopAsked = {});

// Copies the regular file `from` (not a link) as the new file `to` in the open folder
// `toFolder`, with the original's permission bits. Returns 0 or an error number.
int CopyFileAt(const std::string& from, int toFolder, const std::string& to,
               const CopyStopAsked& stopAsked = {});

// The names in the open folder `folder`, without "." and "..".
std::vector<std::string> FolderEntries(int folder);

// Removes `name` in the open folder `folder`, a folder with everything in it, without following
// links. Returns 0 or an error number.
int RemoveTreeAt(int folder, const std::string& name);

} // namespace zelmora
