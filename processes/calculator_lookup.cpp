#include "processes/calculator_lookup.h"

#include "processes/command_line.h"

namespace zelmora {

std::string IntendedProgram(const std::string& batchPath) {
    const std::vector<std::string> words = SplitCommandWords(batchPath);
    if (words.empty()) {
        return "";
    }
    if (batchPath.find_first_not_of(" \t") == batchPath.find('"')) {
        return words.front();
    }
    const std::size_t first = batchPath.find_first_not_of(" \t");
    const std::size_t last = batchPath.find_last_not_of(" \t");
    return batchPath.substr(first, last - first + 1);
}

} // namespace zelmora
