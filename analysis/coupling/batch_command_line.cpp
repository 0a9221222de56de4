#include "analysis/coupling/batch_command_line.h"

namespace zelmora {

std::string BatchCommandLine(const std::string& batchPath, const std::string& projectPath) {
    return batchPath + " " + projectPath + " /c";
}

} // namespace zelmora
