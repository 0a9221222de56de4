#pragma once

#include <functional>
#include <string>

namespace zelmora {

// Asked between files and between the chunks of a file; true ends the copy with CopyStopped.
using CopyStopAsked = std::function<bool()>;
extern const int CopyStopped; // ECANCELED; on Windows ERROR_REQUEST_ABORTED

// Copies a regular file, sharing blocks where the file system can; the copy gets the
// original's permission bits (on Windows its attributes). Returns 0 or the system's error number
// of the failure: errno, or GetLastError() on Windows, as in the two functions below.
int CopyFileContents(const std::string& from, const std::string& to,
                     const CopyStopAsked& stopAsked = {});

// Copies a folder with everything in it: files as above, subfolders in turn; other kinds of
// file are left out. Links to files are copied as files; on POSIX a link to a folder raises an
// error naming it (see CopyTreeAt), on Windows it is left out. Returns 0 or the error number of the
// failure and sets `failedPath` to the path it concerns; CopyStopped when `stopAsked` said so.
int CopyTree(const std::string& from, const std::string& to, std::string& failedPath,
             const CopyStopAsked& stopAsked = {});

// Removes a folder and everything in it without following links. Returns 0 or an error number.
int RemoveTree(const std::string& path);

} // namespace zelmora
