#pragma once

#include "analysis/workcopies/tree_copy.h"

#include <string>

namespace zelmora {

// The folder beside a project (its path with ".runs") that holds the workers' copies of the
// project, one numbered subfolder each. It carries a marker file, locked while an analysis uses
// it; only a folder that carries the marker is ever emptied or removed, and links in it are
// removed, never followed. On POSIX the folder is accepted only when it is a folder of the
// user's own that nobody else may write, and everything in it is reached from its open
// descriptor, so that a path swapped meanwhile cannot redirect a write.
class WorkFolder {
public:
    // Creates the folder (mode 0700), or empties one left by an earlier analysis, and locks it.
    // Throws an input/output error when that fails, leaving nothing behind.
    explicit WorkFolder(const std::string& projectPath);
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();

    // Copies the project file and its data folder into subfolder `number`; returns the copy's
    // project path. Throws an input/output error when the copy fails, EAnalysisStopped when
    // `stopAsked` said so.
    std::string AddCopy(int number, const CopyStopAsked& stopAsked = {});

    // A path in the folder as Zelmora itself opens it: on Linux through the locked folder's
    // open descriptor (/proc/self/fd), so that a folder swapped in at its path cannot redirect
    // what Zelmora writes and reads in the copies. Elsewhere the path itself.
    std::string Reached(const std::string& path) const;

    // The open log file of subfolder `number` that its calculator's output goes to; number 0 is
    // the folder itself, for the runs in place.
    int OpenCalculatorLog(int number);

    // That log's path.
    std::string CalculatorLogPath(int number) const;

    // Removes the whole folder; the lock is held until it is gone.
    void Remove();

    // After a stop: the copies go, the journal of the runs done stays for a resume and the lock
    // is released. A folder without a journal goes whole.
    void RemoveCopies();

    // Releases the lock and leaves the folder as it is.
    void Close();

    // The journal of the analysis's runs, as Zelmora reaches it.
    std::string JournalPath() const;

    const std::string& Path() const { return path_; }

private:
    void Lock();

    std::string projectPath_;
    std::string path_;
    bool HoldsJournal() const;

    int markerFd_ = -1;
    int folderFd_ = -1; // POSIX: the locked folder itself
};

inline constexpr const char* WorkFolderMarker = ".zelmora-runs";
inline constexpr const char* WorkFolderJournal = "journal.jsonl";

// The work folder of the model at `projectPath`: the model's path with ".runs".
inline std::string WorkFolderPath(const std::string& projectPath) {
    return projectPath + ".runs";
}

// The journal in that folder, as a path of its own rather than one reached through the lock.
inline std::string WorkFolderJournalPath(const std::string& projectPath) {
    return WorkFolderPath(projectPath) + "/" + WorkFolderJournal;
}

} // namespace zelmora
