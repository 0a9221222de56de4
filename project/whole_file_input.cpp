#include "project/whole_file_input.h"

#include "project/file_descriptor.h"
#include "project/text_file.h"

#include <algorithm>
#include <fcntl.h>

namespace zelmora {

std::string ReadWholeFile(const std::string& fileName, std::size_t limit) {
    int fd = OpenRegularFile(fileName, O_RDONLY);
    CheckIo();
    std::string bytes;
    char buffer[65536];
    while (bytes.size() <= limit) {
        const std::ptrdiff_t count = ReadRecordingCode(fd, buffer, sizeof buffer, fileName);
        if (count <= 0) {
            break;
        }
        bytes.append(buffer, std::min(static_cast<std::size_t>(count), limit + 1 - bytes.size()));
    }
    CloseRecordingCode(fd, fileName);
    CheckIo();
    return bytes;
}

} // namespace zelmora
