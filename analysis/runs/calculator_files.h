#pragma once

#include <string>
#include <vector>

namespace zelmora {

// The files a command's program part names: the program it starts, every further word that
// names an existing regular file (taken from `startsIn` when relative), and the interpreter a
// script names on its "#!" line. Files the program loads are not among them.
std::vector<std::string> CalculatorFiles(const std::string& programPart,
                                         const std::string& startsIn);

} // namespace zelmora
