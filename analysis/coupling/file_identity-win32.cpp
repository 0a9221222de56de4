#include "analysis/coupling/file_identity.h"

#include <io.h>
#include <windows.h>

namespace zelmora {

namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t EpochOffset = 116444736000000000ULL;
constexpr std::uint64_t IntervalsPerSecond = 10'000'000;

timespec TimeOf(const FILETIME& time) {
    const std::uint64_t intervals =
        ((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) -
        EpochOffset;
    return {static_cast<time_t>(intervals / IntervalsPerSecond),
            static_cast<long>(intervals % IntervalsPerSecond * 100)};
}

std::optional<FileIdentity> IdentityOfHandle(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file, &info) == 0) {
        return std::nullopt;
    }
    return FileIdentity{
        info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                  info.nFileSizeLow),
        TimeOf(info.ftLastWriteTime)};
}

} // namespace

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const std::optional<FileIdentity> identity = IdentityOfHandle(file);
    CloseHandle(file);
    return identity;
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
    const intptr_t handle = _get_osfhandle(fd);
    if (handle == -1) {
        return std::nullopt;
    }
    return IdentityOfHandle(reinterpret_cast<HANDLE>(handle));
}

// File times are stamped from the system time, which advances with the clock tick.
timespec CoarseNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return TimeOf(now);
}

} // namespace zelmora
