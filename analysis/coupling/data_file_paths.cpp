#include "analysis/coupling/data_file_paths.h"

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

DataFiles DataFilesOf(const std::string& projectPath, const std::string& projectName) {
    const std::string base = DataFileBase(projectPath, projectName);
    return {base + ".mmt", base + ".hxx"};
}

} // namespace zelmora
