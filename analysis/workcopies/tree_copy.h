#pragma once

#include <string>

namespace zelmora {

// Copies a regular file, sharing blocks where the file system can; the copy gets the
// original's permission bits (on Windows its attributes). Returns 0 or the system's error number
// of the failure: errno, or GetLastError() on Windows, as in the two functions below.
int CopyFileContents(const std::string& from, const std::string& to);

// Copies a folder with everything in it: files as above, subfolders in turn; other kinds of
// file are left out. Links to files are copied as files; on POSIX a link to a folder raises an
// error naming it (see CopyTreeAt), on Windows it is left out. Returns 0 or the error number of the
// failure and sets `failedPath` to the path it concerns.
int CopyTree(const std::string& from, const std::string& to, std::string& failedPath);

// Removes a folder and everything in it without following links. Returns 0 or an error number.
int RemoveTree(const std::string& path);

} // namespace zelmora
