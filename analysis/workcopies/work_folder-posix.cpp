#include "analysis/workcopies/work_folder.h"

#include "analysis/coupling/data_file_paths.h"
#include "analysis/workcopies/tree_copy_at.h"
#include "project/errors.h"
#include "project/io_code.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zelmora {

namespace {

// How often a starting analysis looks again when the folder it found was removed meanwhile by
// an analysis that ended.
constexpr int MaxAttempts = 10;

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void FailWith(int error, const std::string& path) {
    if (error == CopyStopped) {
        throw EAnalysisStopped();
    }
    throw EInOutError(IoCodeFromErrno(error, path));
}

[[noreturn]] void Foreign(const std::string& path) {
    throw Error("The work folder is not one of Zelmora's; remove or rename it: " + path);
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// True while the open folder is the one at the path.
bool StillAtPath(int folder, const std::string& path) {
    struct stat atPath {};
    struct stat opened {};
    return lstat(path.c_str(), &atPath) == 0 && fstat(folder, &opened) == 0 &&
           atPath.st_dev == opened.st_dev && atPath.st_ino == opened.st_ino;
}

// A folder and its marker while in hand, closed at the end of the scope.
struct OpenFolder {
    const std::string& path;
    int folder = -1;
    int marker = -1;

    ~OpenFolder() {
        CloseIfOpen(marker);
        CloseIfOpen(folder);
    }
};

// Another user could swap what such a folder holds, or plant it with a marker of its own.
bool OwnedAndClosed(int folder) {
    struct stat info {};
    return fstat(folder, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Opens the folder found at the path and its marker; false when there is none, or none any
// more.
bool OpenExisting(OpenFolder& found) {
    found.folder = ::open(found.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (found.folder < 0) {
        if (errno == ENOENT) {
            return false;
        }
        if (errno == ENOTDIR || errno == ELOOP || errno == EACCES) {
            Foreign(found.path);
        }
        FailWith(errno, found.path);
    }
    if (!OwnedAndClosed(found.folder)) {
        Foreign(found.path);
    }
    found.marker =
        openat(found.folder, WorkFolderMarker, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    // An analysis that ends removes its marker just before its folder.
    if (found.marker < 0 && errno == ENOENT && !StillAtPath(found.folder, found.path)) {
        CloseIfOpen(found.folder);
        return false;
    }
    struct stat marker {};
    if (found.marker < 0 || fstat(found.marker, &marker) != 0 || !S_ISREG(marker.st_mode)) {
        Foreign(found.path);
    }
    return true;
}

// Makes a new folder at the path with its marker; false when another appeared there first.
bool CreateNew(OpenFolder& made) {
    if (mkdir(made.path.c_str(), 0700) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        FailWith(errno, made.path);
    }
    made.folder = ::open(made.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (made.folder < 0) {
        const int error = errno;
        rmdir(made.path.c_str());
        FailWith(error, made.path);
    }
    // The umask may have left group or other bits that the checks above refuse.
    fchmod(made.folder, 0700);
    made.marker = openat(made.folder, WorkFolderMarker,
                         O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (made.marker < 0) {
        const int error = errno;
        rmdir(made.path.c_str());
        FailWith(error, made.path + "/" + WorkFolderMarker);
    }
    return true;
}

bool MarkerOrJournal(const std::string& name) {
    return name == WorkFolderMarker || name == WorkFolderJournal;
}

// The journal stays for a resume; the analysis decides whether it is used.
void EmptyKeepingMarker(int folder, const std::string& path) {
    for (const std::string& name : FolderEntries(folder)) {
        if (MarkerOrJournal(name)) {
            continue;
        }
        if (const int error = RemoveTreeAt(folder, name); error != 0) {
            FailWith(error, path + "/" + name);
        }
    }
}

// An open subfolder of the work folder, made with mode 0700 whatever the umask.
int MakeSubfolder(int folder, const std::string& name, const std::string& path) {
    if (mkdirat(folder, name.c_str(), 0700) != 0) {
        FailWith(errno, path);
    }
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        FailWith(errno, path);
    }
    fchmod(fd, 0700);
    return fd;
}

} // namespace

WorkFolder::WorkFolder(const std::string& projectPath)
    : projectPath_(projectPath), path_(WorkFolderPath(projectPath)) {
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        OpenFolder taking{path_};
        if (!OpenExisting(taking) && !CreateNew(taking)) {
            continue;
        }
        markerFd_ = std::exchange(taking.marker, -1);
        folderFd_ = std::exchange(taking.folder, -1);
        Lock();
        // The analysis that held the lock may have removed the folder meanwhile.
        if (StillAtPath(folderFd_, path_)) {
            EmptyKeepingMarker(folderFd_, path_);
            return;
        }
        CloseIfOpen(markerFd_);
        CloseIfOpen(folderFd_);
    }
    throw Error("Another analysis of this project is using its work folder: " + path_);
}

WorkFolder::~WorkFolder() {
    CloseIfOpen(markerFd_);
    CloseIfOpen(folderFd_);
}

void WorkFolder::Lock() {
    if (flock(markerFd_, LOCK_EX | LOCK_NB) != 0) {
        CloseIfOpen(markerFd_);
        CloseIfOpen(folderFd_);
        throw Error("Another analysis of this project is using its work folder: " + path_);
    }
}

std::string WorkFolder::AddCopy(int number, const CopyStopAsked& stopAsked) {
    const std::string name = std::to_string(number);
    const std::string copy = path_ + "/" + name;
    OpenFolder subfolder{copy, MakeSubfolder(folderFd_, name, copy)};
    std::string project = copy + "/" + BaseName(projectPath_);
    struct stat info {};
    // What the project lacks, the copy lacks too, so a run there fails as it would in place.
    if (lstat(projectPath_.c_str(), &info) == 0) {
        if (const int error =
                CopyFileAt(projectPath_, subfolder.folder, BaseName(projectPath_), stopAsked);
            error != 0) {
            FailWith(error, project);
        }
    }
    const std::string dataFolder = DataFolderPath(projectPath_);
    if (lstat(dataFolder.c_str(), &info) == 0) {
        std::string failedPath;
        if (const int error = CopyTreeAt(dataFolder, subfolder.folder, BaseName(dataFolder),
                                         failedPath, stopAsked);
            error != 0) {
            FailWith(error, failedPath);
        }
    }
    return project;
}

std::string WorkFolder::Reached(const std::string& path) const {
    const std::string folder = "/proc/self/fd/" + std::to_string(folderFd_);
    if (!path.starts_with(path_) || access(folder.c_str(), F_OK) != 0) {
        return path;
    }
    return folder + path.substr(path_.size());
}

std::string WorkFolder::CalculatorLogPath(int number) const {
    return path_ + (number == 0 ? "" : "/" + std::to_string(number)) + "/calculator.log";
}

int WorkFolder::OpenCalculatorLog(int number) {
    const std::string name = CalculatorLogPath(number).substr(path_.size() + 1);
    const int fd = openat(folderFd_, name.c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        FailWith(errno, path_ + "/" + name);
    }
    return fd;
}

void WorkFolder::Remove() {
    if (folderFd_ >= 0) {
        // The marker goes last, so that a starting analysis sees it as long as possible.
        for (const std::string& name : FolderEntries(folderFd_)) {
            if (name != WorkFolderMarker) {
                RemoveTreeAt(folderFd_, name);
            }
        }
        unlinkat(folderFd_, WorkFolderMarker, 0);
        if (StillAtPath(folderFd_, path_)) {
            rmdir(path_.c_str());
        }
    }
    // Only now may a starting analysis take the path.
    CloseIfOpen(markerFd_);
    CloseIfOpen(folderFd_);
}

void WorkFolder::RemoveCopies() {
    if (folderFd_ < 0) {
        return;
    }
    if (!HoldsJournal()) {
        Remove();
        return;
    }
    for (const std::string& name : FolderEntries(folderFd_)) {
        if (!MarkerOrJournal(name)) {
            RemoveTreeAt(folderFd_, name);
        }
    }
    Close();
}

void WorkFolder::Close() {
    CloseIfOpen(markerFd_);
    CloseIfOpen(folderFd_);
}

std::string WorkFolder::JournalPath() const {
    return Reached(path_ + "/" + WorkFolderJournal);
}

bool WorkFolder::HoldsJournal() const {
    struct stat info {};
    return folderFd_ >= 0 &&
           fstatat(folderFd_, WorkFolderJournal, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode);
}

} // namespace zelmora
