#include "analysis/coupling/run_picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {

namespace {

std::string PicturePath(const std::string& resultPath) {
    return resultPath.substr(0, resultPath.rfind('.')) + ".svg";
}

FileIdentity IdentityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

std::string ReadAll(int fd, std::int64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            return {};
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

} // namespace

RunPicture::RunPicture(const std::string& resultPath) : path_(PicturePath(resultPath)) {
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0) {
        before_ = IdentityOf(info);
    }
}

std::string RunPicture::Read() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    struct stat info {};
    std::string picture;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxPictureBytes &&
        !(before_ && *before_ == IdentityOf(info))) {
        picture = ReadAll(fd, info.st_size);
    }
    ::close(fd);
    return picture;
}

} // namespace zelmora
