#include "analysis/coupling/run_picture.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace zelmora {

namespace {

std::string PicturePath(const std::string& resultPath) {
    return resultPath.substr(0, resultPath.rfind('.')) + ".svg";
}

// The file itself as a C runtime descriptor, never what a reparse point (a link or junction)
// leads to; -1 when it cannot be opened.
int OpenItself(const std::string& path) {
    const HANDLE file = CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
    }
    return fd;
}

// A plain file on a disk: no folder, reparse point, device or pipe.
bool Regular(int fd) {
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    BY_HANDLE_FILE_INFORMATION info{};
    constexpr DWORD notRegular =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) != 0 &&
           (info.dwFileAttributes & notRegular) == 0;
}

std::string ReadAll(int fd, std::int64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int got = _read(fd, bytes.data() + done, static_cast<unsigned>(bytes.size() - done));
        if (got <= 0) {
            return {};
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

} // namespace

RunPicture::RunPicture(const std::string& resultPath) : path_(PicturePath(resultPath)) {
    const int fd = OpenItself(path_);
    if (fd >= 0) {
        before_ = IdentityOfDescriptor(fd);
        _close(fd);
    }
}

std::string RunPicture::Read() const {
    const int fd = OpenItself(path_);
    if (fd < 0) {
        return {};
    }
    const std::optional<FileIdentity> identity = IdentityOfDescriptor(fd);
    std::string picture;
    if (identity && Regular(fd) && identity->size <= MaxPictureBytes &&
        !(before_ && *before_ == *identity)) {
        picture = ReadAll(fd, identity->size);
    }
    _close(fd);
    return picture;
}

} // namespace zelmora
