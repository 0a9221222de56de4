#pragma once

#include <string>

namespace slopecalc {

// Writes the text to "<path>.tmp" and renames it over path, so that path holds either the
// old content or the whole new text. Throws zelmora::Error on failure.
void WriteFileAtomically(const std::string& path, const std::string& text);

// Removes the file if it is there; throws zelmora::Error when it stays.
void RemoveIfPresent(const std::string& path);

} // namespace slopecalc
