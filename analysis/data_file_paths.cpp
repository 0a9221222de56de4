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

void DeriveDataFilePaths() {
    std::string base = State.ProjectPath;
    // The last three characters go whatever they are: they stand for the "plx" extension.
    if (base.size() >= 3) {
        base.resize(base.size() - 3);
    }
    base += DataFolderSuffix;
    base += State.ProjectName;
    State.ModificationFilePath = base + ".mmt";
    State.ResultFilePath = base + ".hxx";
}

} // namespace zelmora
