#pragma once

#include "analysis/tree_copy.h"

#include <string>

namespace zelmora {

// The folder beside a project (its path with ".runs") that holds the workers' copies of the
// project, one numbered subfolder each. It carries a marker file, locked while an analysis uses
// it; only a folder that carries the marker is ever emptied or removed, and links in it are
// removed, never followed.
class WorkFolder {
public:
    // Creates the folder, or empties one left by an earlier analysis, and locks it. Throws an
    // input/output error when that fails, leaving nothing behind.
    explicit WorkFolder(const std::string& projectPath);
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();

    // Copies the project file and its data folder into subfolder `number`; returns the copy's
    // project path. Throws an input/output error when the copy fails, EAnalysisStopped when
    // `stopAsked` said so.
    std::string AddCopy(int number, const CopyStopAsked& stopAsked = {});

    // The open log file of subfolder `number` that its calculator's output goes to.
    int OpenCalculatorLog(int number);

    // Removes the whole folder.
    void Remove();

    const std::string& Path() const { return path_; }

private:
    void Lock();

    std::string projectPath_;
    std::string path_;
    int markerFd_ = -1;
};

inline constexpr const char* WorkFolderMarker = ".zelmora-runs";

} // namespace zelmora
