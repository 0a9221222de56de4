#pragma once

#include <optional>
#include <string>

namespace zelmora {

// While it lives, State.ProjectPath is the model path an analysis uses: a relative one is taken
// from the folder of the project file that was opened or saved, so that a project means the same
// whatever folder the program was started in. The stored text comes back at its end, for the
// project file and its windows. An empty folder (a project never saved) changes nothing.
class ModelPathFromFolder {
public:
    explicit ModelPathFromFolder(const std::string& projectFolder);
    ModelPathFromFolder(const ModelPathFromFolder&) = delete;
    ModelPathFromFolder& operator=(const ModelPathFromFolder&) = delete;
    ~ModelPathFromFolder();

private:
    std::string stored_;
};

// The folder of a project file, in full; empty for an empty name.
std::string ProjectFolderOf(const std::string& projectFile);

// After the project file moved from `oldFolder` (empty: never saved, so our current folder) to
// `newFolder`: the one line that says its relative paths now refer to the new folder, or nothing
// when they do not change or there are none.
std::optional<std::string> MovedFolderNote(const std::string& oldFolder,
                                           const std::string& newFolder);

} // namespace zelmora
