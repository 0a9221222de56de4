#include "analysis/work_folder.h"

#include "analysis/run_executor.h"
#include "analysis/tree_copy.h"
#include "project/errors.h"
#include "project/text_file.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The project's data folder: its path without the last three characters, then "dta".
std::string DataFolderOf(const std::string& projectPath) {
    return projectPath.substr(0, projectPath.size() >= 3 ? projectPath.size() - 3 : 0) + "dta";
}

[[noreturn]] void FailWith(int error, const std::string& path) {
    if (error == CopyStopped) {
        throw EAnalysisStopped();
    }
    throw EInOutError(IoCodeFromErrno(error, path));
}

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Empties a folder left by an earlier analysis, keeping its marker.
int EmptyKeepingMarker(const std::string& path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(path.c_str()), closedir);
    if (!folder) {
        return errno;
    }
    while (const dirent* entry = readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == WorkFolderMarker) {
            continue;
        }
        if (const int error = RemoveTree(path + "/" + name); error != 0) {
            return error;
        }
    }
    return 0;
}

} // namespace

WorkFolder::WorkFolder(const std::string& projectPath)
    : projectPath_(projectPath), path_(projectPath + ".runs") {
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode) || !Exists(path_ + "/" + WorkFolderMarker)) {
            throw Error("The work folder is not one of Zelmora's; remove or rename it: " + path_);
        }
        Lock();
        if (const int error = EmptyKeepingMarker(path_); error != 0) {
            FailWith(error, path_);
        }
        return;
    }
    if (mkdir(path_.c_str(), 0777) != 0) {
        FailWith(errno, path_);
    }
    try {
        Lock();
    } catch (...) {
        RemoveTree(path_);
        throw;
    }
}

WorkFolder::~WorkFolder() {
    if (markerFd_ >= 0) {
        ::close(markerFd_);
    }
}

void WorkFolder::Lock() {
    const std::string marker = path_ + "/" + WorkFolderMarker;
    markerFd_ = ::open(marker.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (markerFd_ < 0) {
        FailWith(errno, marker);
    }
    if (flock(markerFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(markerFd_);
        markerFd_ = -1;
        throw Error("Another analysis of this project is using its work folder: " + path_);
    }
}

std::string WorkFolder::AddCopy(int number, const CopyStopAsked& stopAsked) {
    const std::string copy = path_ + "/" + std::to_string(number);
    if (mkdir(copy.c_str(), 0777) != 0) {
        FailWith(errno, copy);
    }
    std::string project = copy + "/" + BaseName(projectPath_);
    // What the project lacks, the copy lacks too, so a run there fails as it would in place.
    if (Exists(projectPath_)) {
        if (const int error = CopyFileContents(projectPath_, project, stopAsked); error != 0) {
            FailWith(error, project);
        }
    }
    const std::string dataFolder = DataFolderOf(projectPath_);
    if (Exists(dataFolder)) {
        std::string failedPath;
        if (const int error = CopyTree(dataFolder, DataFolderOf(project), failedPath, stopAsked);
            error != 0) {
            FailWith(error, failedPath);
        }
    }
    return project;
}

int WorkFolder::OpenCalculatorLog(int number) {
    const std::string log = path_ + "/" + std::to_string(number) + "/calculator.log";
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        FailWith(errno, log);
    }
    return fd;
}

void WorkFolder::Remove() {
    if (markerFd_ >= 0) {
        ::close(markerFd_);
        markerFd_ = -1;
    }
    RemoveTree(path_);
}

} // namespace zelmora
