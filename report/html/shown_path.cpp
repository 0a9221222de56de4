#include "report/html/shown_path.h"

#include <filesystem>
#include <system_error>

namespace zelmora {

namespace {

namespace fs = std::filesystem;

fs::path Absolute(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

fs::path ProjectFolder(const std::string& projectFile) {
    return Absolute(fs::path(projectFile).parent_path());
}

} // namespace

std::string ShownPath(const std::string& path, const std::string& projectFile) {
    if (path.empty()) {
        return path;
    }
    const fs::path file = Absolute(path);
    if (!projectFile.empty()) {
        const fs::path relative = file.lexically_relative(ProjectFolder(projectFile));
        if (!relative.empty() && *relative.begin() != "..") {
            return relative.generic_string();
        }
    }
    return file.filename().string();
}

std::string WithoutProjectFolder(const std::string& text, const std::string& projectFile) {
    // From the root nothing is left to take out.
    if (projectFile.empty() || !ProjectFolder(projectFile).has_relative_path()) {
        return text;
    }
    const std::string folder = (ProjectFolder(projectFile) / "").string();
    std::string shown = text;
    for (std::size_t at = shown.find(folder); at != std::string::npos;
         at = shown.find(folder, at)) {
        shown.erase(at, folder.size());
    }
    return shown;
}

} // namespace zelmora
