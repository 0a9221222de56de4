#include "analysis/runs/calculator_files.h"

#include "processes/command_line.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace zelmora {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t ShebangBytes = 256;

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The interpreter of a script, and the program `env` starts for it.
std::vector<std::string> Interpreters(const std::string& script) {
    std::ifstream in(script, std::ios::binary);
    std::string head(ShebangBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (!head.starts_with("#!")) {
        return {};
    }
    const std::vector<std::string> words = SplitCommandWords(head.substr(2, head.find('\n') - 2));
    std::vector<std::string> found;
    if (words.empty() || !IsRegularFile(words[0])) {
        return found;
    }
    found.push_back(words[0]);
    if (fs::path(words[0]).filename() == "env") {
        for (std::size_t k = 1; k < words.size(); ++k) {
            if (!words[k].starts_with("-")) {
                if (const auto program = LocateProgram(words[k])) {
                    found.push_back(*program);
                }
                break;
            }
        }
    }
    return found;
}

} // namespace

std::vector<std::string> CalculatorFiles(const std::string& programPart,
                                         const std::string& startsIn) {
    const std::optional<ResolvedCommand> command =
        ResolveCommandLine(programPart, FolderLocator(startsIn));
    if (!command) {
        return {};
    }
    std::vector<std::string> files{command->programPath};
    for (std::size_t k = 1; k < command->words.size(); ++k) {
        const std::string& word = command->words[k];
        const std::string path = startsIn.empty() || fs::path(word).is_absolute()
                                     ? word
                                     : (fs::path(startsIn) / word).string();
        if (!word.empty() && IsRegularFile(path)) {
            files.push_back(path);
        }
    }
    for (std::size_t k = 0, named = files.size(); k < named; ++k) {
        for (std::string& interpreter : Interpreters(files[k])) {
            files.push_back(std::move(interpreter));
        }
    }
    return files;
}

} // namespace zelmora
