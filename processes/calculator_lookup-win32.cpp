#include "processes/calculator_lookup.h"

#include "processes/command_line.h"

#include <windows.h>

namespace zelmora {

namespace {

// Whether the process creation finds a program for the text, as it does for the first part of
// a command line: in the search order of SearchPath, with ".exe" added when there is no
// extension.
bool Found(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, path, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The prefixes that end before a blank, shortest first, then the whole text; a quoted first
// word alone.
bool AnyPrefixFound(const std::string& commandLine, const std::string& startsIn) {
    const std::size_t first = commandLine.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    const std::string text = commandLine.substr(first);
    if (text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        return Found(InFolder(
            startsIn, text.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
    }
    for (std::size_t end = 1; end <= text.size(); ++end) {
        if ((end == text.size() || text[end] == ' ' || text[end] == '\t') &&
            Found(InFolder(startsIn, text.substr(0, end)))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<std::string> CalculatorProblem(const std::string& batchPath,
                                             const std::string& commandLine,
                                             const std::string& startsIn) {
    if (AnyPrefixFound(commandLine, startsIn)) {
        return std::nullopt;
    }
    const std::string program = IntendedProgram(batchPath);
    if (program.empty()) {
        return "No batch calculator is set.";
    }
    if (program.find_first_of("/\\:") == std::string::npos) {
        return "The batch calculator " + program +
               " cannot be found in the program's folder, the system folders or the search path";
    }
    return "The batch calculator cannot be found: " + InFolder(startsIn, program);
}

} // namespace zelmora
