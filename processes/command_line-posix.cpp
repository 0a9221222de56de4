#include "processes/command_line.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::optional<ResolvedCommand> Resolved(const std::string& programName, std::string_view arguments,
                                        const ProgramLocator& locate) {
    std::optional<std::string> path = locate(programName);
    if (!path) {
        return std::nullopt;
    }
    ResolvedCommand command{*path, {programName}};
    for (std::string& word : SplitCommandWords(arguments)) {
        command.words.push_back(std::move(word));
    }
    return command;
}

} // namespace

std::string ProgramSearchPath() {
    if (const char* path = std::getenv("PATH")) {
        return path;
    }
    std::string fallback(confstr(_CS_PATH, nullptr, 0), '\0');
    confstr(_CS_PATH, fallback.data(), fallback.size());
    fallback.pop_back();
    return fallback;
}

std::optional<std::string> LocateProgram(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return IsExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    }
    const std::string folders = ProgramSearchPath();
    std::size_t start = 0;
    while (true) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (end == std::string::npos) {
            return std::nullopt;
        }
        start = end + 1;
    }
}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.find('/') == std::string::npos || name.front() == '/') {
        return name;
    }
    return folder + "/" + name;
}

ProgramLocator FolderLocator(const std::string& folder) {
    return [folder](const std::string& name) { return LocateProgram(InFolder(folder, name)); };
}

std::optional<ResolvedCommand> ResolveCommandLine(std::string_view commandLine,
                                                  const ProgramLocator& locate) {
    std::size_t first = 0;
    while (first < commandLine.size() && IsBlank(commandLine[first])) {
        ++first;
    }
    const std::string_view text = commandLine.substr(first);
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '"') {
        std::vector<std::string> words = SplitCommandWords(text);
        ResolvedCommand command{{}, std::move(words)};
        std::optional<std::string> path = locate(command.words.front());
        if (!path) {
            return std::nullopt;
        }
        command.programPath = std::move(*path);
        return command;
    }
    for (std::size_t end = 1; end <= text.size(); ++end) {
        if (end == text.size() || IsBlank(text[end])) {
            if (auto command =
                    Resolved(std::string(text.substr(0, end)), text.substr(end), locate)) {
                return command;
            }
        }
    }
    return std::nullopt;
}

} // namespace zelmora
