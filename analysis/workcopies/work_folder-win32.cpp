#include "analysis/workcopies/work_folder.h"

#include "analysis/coupling/data_file_paths.h"
#include "analysis/workcopies/tree_copy.h"
#include "project/errors.h"
#include "project/io_code.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace zelmora {

namespace {

std::string BaseName(const std::string& path) {
    const auto separator = path.find_last_of("/\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

[[noreturn]] void FailWith(unsigned long error) {
    if (static_cast<int>(error) == CopyStopped) {
        throw EAnalysisStopped();
    }
    throw EInOutError(IoCodeFromWindowsError(error));
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Empties a folder left by an earlier analysis, keeping its marker and its journal.
void EmptyKeepingMarker(const std::string& path) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        FailWith(GetLastError());
    }
    int error = 0;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != ".." && name != WorkFolderMarker && name != WorkFolderJournal) {
            error = RemoveTree(path + "\\" + name);
        }
    } while (error == 0 && FindNextFileA(search, &found));
    FindClose(search);
    if (error != 0) {
        FailWith(static_cast<unsigned long>(error));
    }
}

// A descriptor of the C runtime for a handle, so that the same close ends either.
int DescriptorOf(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        throw EInOutError(4);
    }
    return fd;
}

} // namespace

WorkFolder::WorkFolder(const std::string& projectPath)
    : projectPath_(projectPath), path_(WorkFolderPath(projectPath)) {
    const DWORD attributes = GetFileAttributesA(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
            !Exists(path_ + "\\" + WorkFolderMarker)) {
            throw Error("The work folder is not one of Zelmora's; remove or rename it: " + path_);
        }
        Lock();
        EmptyKeepingMarker(path_);
        return;
    }
    if (!CreateDirectoryA(path_.c_str(), nullptr)) {
        FailWith(GetLastError());
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
        ::_close(markerFd_);
    }
}

// The marker is held open without sharing: a second analysis cannot open it.
void WorkFolder::Lock() {
    const std::string marker = path_ + "\\" + WorkFolderMarker;
    const HANDLE handle = CreateFileA(marker.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_SHARING_VIOLATION) {
            throw Error("Another analysis of this project is using its work folder: " + path_);
        }
        FailWith(GetLastError());
    }
    markerFd_ = DescriptorOf(handle, _O_RDWR);
}

std::string WorkFolder::AddCopy(int number, const CopyStopAsked& stopAsked) {
    const std::string copy = path_ + "\\" + std::to_string(number);
    if (!CreateDirectoryA(copy.c_str(), nullptr)) {
        FailWith(GetLastError());
    }
    const std::string project = copy + "\\" + BaseName(projectPath_);
    // What the project lacks, the copy lacks too, so a run there fails as it would in place.
    if (Exists(projectPath_)) {
        if (const int error = CopyFileContents(projectPath_, project, stopAsked); error != 0) {
            FailWith(static_cast<unsigned long>(error));
        }
    }
    const std::string dataFolder = DataFolderPath(projectPath_);
    if (Exists(dataFolder)) {
        std::string failedPath;
        if (const int error = CopyTree(dataFolder, DataFolderPath(project), failedPath, stopAsked);
            error != 0) {
            FailWith(static_cast<unsigned long>(error));
        }
    }
    return project;
}

std::string WorkFolder::Reached(const std::string& path) const {
    return path;
}

std::string WorkFolder::CalculatorLogPath(int number) const {
    std::string path = path_;
    if (number != 0) {
        path += '\\';
        path += std::to_string(number);
    }
    return path + "\\calculator.log";
}

int WorkFolder::OpenCalculatorLog(int number) {
    const std::string log = CalculatorLogPath(number);
    const HANDLE handle = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailWith(GetLastError());
    }
    return DescriptorOf(handle, _O_WRONLY | _O_APPEND);
}

void WorkFolder::Remove() {
    if (markerFd_ >= 0) {
        ::_close(markerFd_);
        markerFd_ = -1;
    }
    RemoveTree(path_);
}

void WorkFolder::RemoveCopies() {
    if (markerFd_ < 0) {
        return;
    }
    if (!HoldsJournal()) {
        Remove();
        return;
    }
    EmptyKeepingMarker(path_);
    Close();
}

void WorkFolder::Close() {
    if (markerFd_ >= 0) {
        ::_close(markerFd_);
        markerFd_ = -1;
    }
}

std::string WorkFolder::JournalPath() const {
    return path_ + "\\" + WorkFolderJournal;
}

bool WorkFolder::HoldsJournal() const {
    return Exists(JournalPath());
}

} // namespace zelmora
