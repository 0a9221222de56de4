#pragma once

#include <string>

namespace zelmora {

// A file as the report names it: relative to the project file's folder when inside it,
// otherwise by its name alone, so that no page shows where this machine keeps its files.
std::string ShownPath(const std::string& path, const std::string& projectFile);

// The text with every mention of the project file's folder taken out, so that the paths in a
// message read relative to it.
std::string WithoutProjectFolder(const std::string& text, const std::string& projectFile);

} // namespace zelmora
