#include "project/file_descriptor.h"

#include "project/text_file.h"

#include <cerrno>
#include <unistd.h>

namespace zelmora {

namespace {

constexpr int FileNotOpen = 103;

} // namespace

bool RequireOpen(int fd) {
    if (fd < 0) {
        RecordIoCode(FileNotOpen);
        return false;
    }
    return true;
}

void CloseRecordingCode(int& fd, const std::string& name) {
    const int result = ::close(fd);
    fd = -1;
    if (result != 0 && errno != EINTR) {
        RecordIoCode(IoCodeFromErrno(errno, name));
    }
}

} // namespace zelmora
