#include "analysis/batch_coupling.h"
#include "project/project_state.h"

namespace zelmora {

namespace {

#ifdef _WIN32
constexpr const char* DataFolderSuffix = "dta\\";
#else
constexpr const char* DataFolderSuffix = "dta/";
#endif

} // namespace

std::string DataFileBase(const std::string& projectPath, const std::string& projectName) {
    std::string base = projectPath;
    // The last three characters go whatever they are: they stand for the "plx" extension.
    if (base.size() >= 3) {
        base.resize(base.size() - 3);
    }
    return base + DataFolderSuffix + projectName;
}

std::string DataFolderPath(const std::string& projectPath) {
    return projectPath.substr(0, projectPath.size() >= 3 ? projectPath.size() - 3 : 0) + "dta";
}

void DeriveDataFilePaths() {
    const std::string base = DataFileBase(State.ProjectPath, State.ProjectName);
    State.ModificationFilePath = base + ".mmt";
    State.ResultFilePath = base + ".hxx";
}

} // namespace zelmora
