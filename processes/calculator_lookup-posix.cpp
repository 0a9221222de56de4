#include "processes/calculator_lookup.h"

#include "processes/command_line.h"

#include <sys/stat.h>

namespace zelmora {

std::optional<std::string> CalculatorProblem(const std::string& batchPath,
                                             const std::string& commandLine,
                                             const std::string& startsIn) {
    if (ResolveCommandLine(commandLine, FolderLocator(startsIn))) {
        return std::nullopt;
    }
    const std::string program = InFolder(startsIn, IntendedProgram(batchPath));
    if (program.empty()) {
        return "No batch calculator is set.";
    }
    if (program.find('/') == std::string::npos) {
        return "The batch calculator " + program +
               " cannot be found in the folders of the search path: " + ProgramSearchPath();
    }
    struct stat info {};
    if (stat(program.c_str(), &info) != 0) {
        return "The batch calculator cannot be found: " + program;
    }
    return "The batch calculator is not an executable file: " + program;
}

} // namespace zelmora
