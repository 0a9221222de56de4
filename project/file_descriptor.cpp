#include "project/file_descriptor.h"

#include "project/io_code.h"

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

} // namespace zelmora
