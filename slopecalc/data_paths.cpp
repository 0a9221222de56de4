#include "slopecalc/data_paths.h"

#include "slopecalc/path_rules.h"

namespace slopecalc {

DataPaths DeriveDataPaths(const std::string& modelPath) {
    const std::string base =
        modelPath.size() < 3 ? modelPath : modelPath.substr(0, modelPath.size() - 3);
    const std::string folder = base + "dta" + DataFolderSeparator;
    const std::size_t slash = modelPath.find_last_of(FolderSeparators);
    std::string name = slash == std::string::npos ? modelPath : modelPath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return {folder, folder + name + ".mmt", folder + name + ".hxx", folder + name + ".svg"};
}

std::optional<std::string> ModelPathFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || arguments.back() != "/c") {
        return std::nullopt;
    }
    std::string path = arguments.front();
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        path += " " + arguments[i];
    }
    return path;
}

} // namespace slopecalc
