#pragma once

namespace slopecalc {

// The characters after which a file's own name starts in a path, and the one that ends the data
// folder's name: "/" on POSIX; on Windows "\" as well as "/", and the ":" of a drive.
extern const char* const FolderSeparators;
extern const char DataFolderSeparator;

} // namespace slopecalc
