#include "project/whole_file.h"

#include "project/atomic_save.h"
#include "project/file_descriptor.h"
#include "project/text_output.h"

#include <algorithm>
#include <fcntl.h>

namespace zelmora {

void SaveTextFile(const std::string& fileName, const std::function<void(TextOutput&)>& write) {
    AtomicSave save(fileName);
    CheckIo();
    TextOutput out;
    if (save.WritePathIsName()) {
        out.OpenForWritingNotLink(save.WritePath());
    } else {
        out.OpenForWriting(save.WritePath());
    }
    CheckIo();
    write(out);
    out.Close();
    CheckIo();
    save.Commit();
    CheckIo();
}

void SaveWholeFile(const std::string& fileName, const std::string& text) {
    SaveTextFile(fileName, [&text](TextOutput& out) { out.WriteText(text); });
}

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
