#include "analysis/workcopies/tree_copy.h"

#include <vector>
#include <windows.h>

namespace zelmora {

namespace {

constexpr int RemoveAttempts = 200;
constexpr DWORD RemoveRetryMilliseconds = 10;

struct Entry {
    std::string name;
    DWORD attributes;
};

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A link or junction to a folder is never followed.
bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The entries of a folder; 0 or the error of the listing in `error`.
std::vector<Entry> Entries(const std::string& folder, int& error) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    error = 0;
    if (search == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return entries;
    }
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            entries.push_back({name, found.dwFileAttributes});
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

// A file that a calculator had open stays in use for a moment after its process has ended
// (under Wine; on Windows a virus scanner may hold it too), and a folder whose files are being
// deleted is not empty until then: such a removal is tried again for a while.
bool RemoveRetrying(BOOL(WINAPI* remove)(LPCSTR), const std::string& path) {
    for (int attempt = 0; attempt < RemoveAttempts; ++attempt) {
        if (remove(path.c_str())) {
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_DIR_NOT_EMPTY) {
            return false;
        }
        Sleep(RemoveRetryMilliseconds);
        SetLastError(error);
    }
    return false;
}

// CopyFileExA's progress routine, called for every chunk it copies.
DWORD CALLBACK AskStop(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                       HANDLE, HANDLE, LPVOID stopAsked) {
    return (*static_cast<const CopyStopAsked*>(stopAsked))() ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

} // namespace

const int CopyStopped = ERROR_REQUEST_ABORTED;

int CopyFileContents(const std::string& from, const std::string& to,
                     const CopyStopAsked& stopAsked) {
    if (!CopyFileExA(from.c_str(), to.c_str(), stopAsked ? AskStop : nullptr,
                     const_cast<CopyStopAsked*>(&stopAsked), nullptr, COPY_FILE_FAIL_IF_EXISTS)) {
        return static_cast<int>(GetLastError());
    }
    return 0;
}

int CopyTree(const std::string& from, const std::string& to, std::string& failedPath,
             const CopyStopAsked& stopAsked) {
    int error = 0;
    const std::vector<Entry> entries = Entries(from, error);
    failedPath = from;
    if (error != 0) {
        return error;
    }
    if (!CreateDirectoryA(to.c_str(), nullptr)) {
        failedPath = to;
        return static_cast<int>(GetLastError());
    }
    for (const Entry& entry : entries) {
        const std::string source = from + "\\" + entry.name;
        const std::string target = to + "\\" + entry.name;
        if (IsFolder(entry.attributes) && IsLink(entry.attributes)) {
            continue;
        }
        if (IsFolder(entry.attributes)) {
            error = CopyTree(source, target, failedPath, stopAsked);
        } else {
            error = CopyFileContents(source, target, stopAsked);
            failedPath = target;
        }
        if (error != 0) {
            return error;
        }
    }
    return 0;
}

int RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? 0
                   : static_cast<int>(error);
    }
    // A copy of a read-only file or folder must still go.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!IsFolder(attributes)) {
        return RemoveRetrying(DeleteFileA, path) ? 0 : static_cast<int>(GetLastError());
    }
    if (!IsLink(attributes)) {
        int error = 0;
        for (const Entry& entry : Entries(path, error)) {
            if (const int failed = RemoveTree(path + "\\" + entry.name); failed != 0) {
                return failed;
            }
        }
        if (error != 0) {
            return error;
        }
    }
    return RemoveRetrying(RemoveDirectoryA, path) ? 0 : static_cast<int>(GetLastError());
}

} // namespace zelmora
