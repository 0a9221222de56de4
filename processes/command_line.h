#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// Splits a command line into words the way the Windows runtime does, except that backslashes
// are plain characters: blanks and tabs separate words, a double quote toggles grouping and is
// removed.
std::vector<std::string> SplitCommandWords(std::string_view text);

// The full path of an executable file for a program name, or nothing when there is none.
using ProgramLocator = std::function<std::optional<std::string>(const std::string& name)>;

// The folders that a program name without a folder is looked up in, as PATH gives them.
std::string ProgramSearchPath();

// A name containing "/" names the file itself; any other is looked up in the folders of PATH.
// Only a regular file with execute permission counts.
std::optional<std::string> LocateProgram(const std::string& name);

// LocateProgram for a command started in `folder`: a relative name with a folder is taken from
// there, a name without one is still looked up in the search path. An empty folder: ours.
ProgramLocator FolderLocator(const std::string& folder);

// The path a relative name with a folder stands for when started in `folder`; any other name as
// it is.
std::string InFolder(const std::string& folder, const std::string& name);

struct ResolvedCommand {
    std::string programPath;        // the file to execute
    std::vector<std::string> words; // argument vector, the program name as the first word
};

// The argument vector exec takes: pointers into the command's words, ended by a null pointer.
std::vector<char*> ArgumentPointers(ResolvedCommand& command);

// Finds the program of a command line as the Windows process creation does. A quoted first
// word is taken as it stands. Otherwise the prefixes of the text that end before a blank are
// tried, shortest first, then the whole text; the first that locates a program wins and the
// rest of the text is split into its arguments. Nothing when no program is found.
std::optional<ResolvedCommand> ResolveCommandLine(std::string_view commandLine,
                                                  const ProgramLocator& locate);

} // namespace zelmora
