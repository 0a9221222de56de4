#pragma once

#include <string>

namespace zelmora {

// Copies a regular file, sharing blocks where the file system can; the copy gets the
// original's permission bits (on Windows its attributes). Returns 0 or the system's error number
// of the failure: errno, or GetLastError() on Windows, as in the two functions below.
int CopyFileContents(const std::string& from, const std::string& to);

// Copies a folder with everything in it: files as above, links as links, subfolders in turn;
// other kinds of file are left out. On Windows links to folders are left out and links to
// files copied as files. Returns 0 or the error number of the failure and sets `failedPath`
// to the path it concerns.
int CopyTree(const std::string& from, const std::string& to, std::string& failedPath);

// Removes a folder and everything in it without following links. Returns 0 or an error number.
int RemoveTree(const std::string& path);

} // namespace zelmora
