#include "analysis/coupling/modification_reset.h"

#include "project/file_descriptor.h"
#include "project/text_output.h"

#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace zelmora {

namespace {

constexpr std::size_t Compared = 16;

} // namespace

// Windows has no links that an unprivileged user makes by accident; the file is opened as a
// regular file, as every other.
bool ResetLeftModifications(const std::string& path) {
    int in = OpenRegularFile(path, O_RDONLY | O_BINARY);
    if (in < 0) {
        TakePendingIoError();
        return false;
    }
    char bytes[Compared];
    const std::ptrdiff_t count = ReadRecordingCode(in, bytes, sizeof bytes, path);
    CloseRecordingCode(in, path);
    TakePendingIoError();
    const std::size_t expected = std::strlen(NoModifications);
    if (count == static_cast<std::ptrdiff_t>(expected) &&
        std::memcmp(bytes, NoModifications, expected) == 0) {
        return false;
    }
    TextOutput file;
    file.OpenForWriting(path);
    CheckIo();
    file.WriteText("0");
    file.EndLine();
    file.Close();
    CheckIo();
    return true;
}

} // namespace zelmora
