#include "analysis/coupling/data_file_paths.h"

#include "project/project_state.h"

namespace zelmora {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

} // namespace

std::string DataFolderPath(const std::string& projectPath) {
    // The last three characters go whatever they are: they stand for the "plx" extension.
    // A path shorter than that is kept whole.
    return projectPath.substr(0, projectPath.size() >= 3 ? projectPath.size() - 3
                                                         : std::string::npos) +
           "dta";
}

std::string DataFileBase(const std::string& projectPath, const std::string& projectName) {
    return DataFolderPath(projectPath) + Separator + projectName;
}

void DeriveDataFilePaths() {
    const std::string base = DataFileBase(State.ProjectPath, State.ProjectName);
    State.ModificationFilePath = base + ".mmt";
    State.ResultFilePath = base + ".hxx";
}

} // namespace zelmora
