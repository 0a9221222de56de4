#pragma once

#include <string>

namespace zelmora {

// Copies a regular file, sharing blocks where the file system can; the copy gets the
// original's permission bits. Returns 0 or the errno value of the failure.
int CopyFileContents(const std::string& from, const std::string& to);

// Copies a folder with everything in it: files as above, links as links, subfolders in turn;
// other kinds of file are left out. Returns 0 or the errno value of the failure and sets
// `failedPath` to the path it concerns.
int CopyTree(const std::string& from, const std::string& to, std::string& failedPath);

// Removes a folder and everything in it without following links. Returns 0 or an errno value.
int RemoveTree(const std::string& path);

} // namespace zelmora
