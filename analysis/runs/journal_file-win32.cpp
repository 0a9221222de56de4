#include "analysis/runs/journal_file.h"

#include "project/errors.h"
#include "project/io_code.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace zelmora {

// NTFS makes a new name durable with the file's own flush; there is no folder to flush.
void JournalFile::Append(const std::string& line) {
    if (fd_ < 0) {
        const HANDLE handle = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            throw EInOutError(IoCodeFromWindowsError(GetLastError()));
        }
        fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_APPEND);
        if (fd_ < 0) {
            CloseHandle(handle);
            throw EInOutError(4);
        }
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd_));
    DWORD written = 0;
    if (!WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size() || !FlushFileBuffers(handle)) {
        throw EInOutError(IoCodeFromWindowsError(GetLastError()));
    }
}

void JournalFile::Close() {
    if (fd_ >= 0) {
        ::_close(fd_);
        fd_ = -1;
    }
}

} // namespace zelmora
