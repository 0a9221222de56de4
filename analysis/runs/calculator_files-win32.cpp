#include "analysis/runs/calculator_files.h"

#include "processes/command_line.h"

#include <filesystem>
#include <windows.h>

namespace zelmora {

namespace {

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The program as the process creation finds a name: in the search order of SearchPath, with
// ".exe" added when there is no extension.
std::string Searched(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, path, nullptr);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

} // namespace

// Windows starts no script by its "#!" line: the words alone name the files.
std::vector<std::string> CalculatorFiles(const std::string& programPart,
                                         const std::string& startsIn) {
    std::vector<std::string> files;
    for (const std::string& word : SplitCommandWords(programPart)) {
        const std::string path = InFolder(startsIn, word);
        if (IsRegularFile(path)) {
            files.push_back(path);
        } else if (files.empty()) {
            if (const std::string found = Searched(path); !found.empty() && IsRegularFile(found)) {
                files.push_back(found);
            }
        }
    }
    return files;
}

} // namespace zelmora
