#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace zelmora {

// What tells one file from another that took its place or was rewritten: file times advance
// only with the kernel's coarse clock, so inode and size count as well (on Windows the volume's
// serial number and the file's index).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    timespec modified{};

    bool operator==(const FileIdentity& other) const;
};

// The identity of the file at path, nothing when there is none.
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

// The identity of the file open as `fd` (on Windows a C runtime descriptor), nothing when the
// system does not tell it.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

// Waits until the coarse clock that stamps file times has passed `modified`, so that a file
// written from now on gets a later time; 2 s past it when it has no sub-second part (a file
// system with one- or two-second timestamps). A time far ahead of the clock is not waited for:
// a new file's time differs from it anyway.
void WaitPastModificationTime(const timespec& modified);

// The coarse clock's time now.
timespec CoarseNow();

} // namespace zelmora
