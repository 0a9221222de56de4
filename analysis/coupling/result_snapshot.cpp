#include "analysis/coupling/result_snapshot.h"

#include "project/file_descriptor.h"
#include "project/io_code.h"
#include "project/sha256.h"

#include <fcntl.h>
#include <string_view>

namespace zelmora {

namespace {

constexpr std::size_t ChunkBytes = std::size_t{64} * 1024;

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.device == b.device && a.inode == b.inode;
}

} // namespace

ResultSnapshot TakeResultSnapshot(const std::string& path) {
    ResultSnapshot snapshot;
    int fd = OpenRegularFile(path, O_RDONLY);
    if (fd < 0) {
        snapshot.openError = TakePendingIoError();
        return snapshot;
    }
    snapshot.identity = IdentityOfDescriptor(fd);
    std::string chunk(ChunkBytes, '\0');
    for (std::ptrdiff_t count = 1; count > 0;) {
        count = ReadRecordingCode(fd, chunk.data(), chunk.size(), path);
        if (count > 0) {
            snapshot.bytes.append(chunk.data(), static_cast<std::size_t>(count));
        }
    }
    snapshot.readError = TakePendingIoError();
    CloseRecordingCode(fd, path);
    const std::exception_ptr closeError = TakePendingIoError();
    if (!snapshot.readError) {
        snapshot.readError = closeError;
    }
    return snapshot;
}

ResultBefore KeepResultBefore(const std::string& path) {
    const ResultSnapshot snapshot = TakeResultSnapshot(path);
    ResultBefore before{snapshot.identity, std::nullopt};
    if (snapshot.identity && !snapshot.readError) {
        before.digest = Sha256(snapshot.bytes);
    }
    return before;
}

// File times may be too coarse to tell a rewrite within the same second: changed bytes tell it.
bool LeftAsItWas(const ResultBefore& before, const ResultSnapshot& after) {
    return before.identity && after.identity && *before.identity == *after.identity &&
           (!before.digest || Sha256(after.bytes) == *before.digest);
}

std::size_t OwnRecordsStart(const ResultBefore& before, const ResultSnapshot& after) {
    if (!before.identity || !before.digest || !after.identity ||
        !SameFile(*before.identity, *after.identity)) {
        return 0;
    }
    const auto oldSize = static_cast<std::size_t>(before.identity->size);
    if (after.bytes.size() <= oldSize ||
        Sha256(std::string_view(after.bytes).substr(0, oldSize)) != *before.digest) {
        return 0;
    }
    return oldSize;
}

} // namespace zelmora
