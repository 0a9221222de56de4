#include "project/atomic_save.h"

#include "project/io_code.h"

#include <string_view>
#include <windows.h>

namespace zelmora {

namespace {

constexpr std::string_view HiddenSuffix = ".zelmora-save";
constexpr std::string_view LongPathPrefix = "\\\\?\\";

// Everything up to and including the last separator, empty for a name without a folder.
std::string FolderPart(const std::string& path) {
    const auto end = path.find_last_of("/\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// The path from the drive on: Wine's ReplaceFileA fails on relative ones.
std::string FullPath(const std::string& path) {
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (size == 0 || length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return full;
}

// A link at the target is followed to the file it finally names, so that the file, not the
// link, is replaced.
std::string FinalPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return FullPath(path);
    }
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FullPath(path);
    }
    std::string final(MAX_PATH, '\0');
    DWORD length = GetFinalPathNameByHandleA(file, final.data(), MAX_PATH, FILE_NAME_NORMALIZED);
    if (length >= MAX_PATH) {
        final.resize(length);
        length = GetFinalPathNameByHandleA(file, final.data(), length, FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    if (length == 0 || length >= final.size()) {
        return FullPath(path);
    }
    final.resize(length);
    return final.starts_with(LongPathPrefix) ? final.substr(LongPathPrefix.size()) : final;
}

// The attributes that a file's owner sets (hidden, system, archive, not indexed), which the
// new file takes over from the old one: ReplaceFileA does so on Windows, not under Wine.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

void TakeAttributes(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & KeptAttributes) != 0) {
        SetFileAttributesA(to.c_str(), attributes & KeptAttributes);
    }
}

// Written data reaches the disk before the file takes the old one's place.
bool FlushToDisk(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return flushed;
}

} // namespace

AtomicSave::AtomicSave(const std::string& target) : target_(target), writePath_(target) {
    if (!target.empty()) {
        Prepare(target);
    }
}

AtomicSave::~AtomicSave() {
    if (ownsHidden_) {
        DeleteFileA(hidden_.c_str());
    }
}

void AtomicSave::Prepare(const std::string& path) {
    target_ = FinalPath(path);
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND) {
            Fail(static_cast<int>(error));
            return;
        }
    } else if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                              FILE_ATTRIBUTE_READONLY)) != 0) {
        Fail(ERROR_ACCESS_DENIED);
        return;
    } else {
        replacesOld_ = true;
    }
    CreateTemporary();
}

// A leftover of a killed save is removed first, so that it lasts only until the next save.
void AtomicSave::CreateTemporary() {
    const std::string folder = FolderPart(target_);
    hidden_ = folder + "." + target_.substr(folder.size()) + std::string(HiddenSuffix);
    DeleteFileA(hidden_.c_str());
    CreateNamed();
}

void AtomicSave::CreateNamed() {
    const HANDLE file = CreateFileA(hidden_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CannotCreate(static_cast<int>(GetLastError()));
        return;
    }
    CloseHandle(file);
    ownsHidden_ = true;
    writePath_ = hidden_;
}

// No file can be made beside the target: a writable old file is then rewritten in place.
void AtomicSave::CannotCreate(int error) {
    if (replacesOld_ && error == ERROR_ACCESS_DENIED) {
        writePath_ = target_;
        return;
    }
    Fail(error);
}

void AtomicSave::Commit() {
    if (!ownsHidden_ || writePath_.empty()) {
        return;
    }
    if (replacesOld_) {
        TakeAttributes(target_, hidden_);
    }
    const bool landed =
        FlushToDisk(hidden_) &&
        (replacesOld_ ? ReplaceFileA(target_.c_str(), hidden_.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                      : MoveFileExA(hidden_.c_str(), target_.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0);
    if (!landed) {
        Fail(static_cast<int>(GetLastError()));
        return;
    }
    ownsHidden_ = false;
}

void AtomicSave::Fail(int error) {
    RecordIoCode(IoCodeFromWindowsError(static_cast<unsigned long>(error)));
    writePath_.clear();
}

} // namespace zelmora
