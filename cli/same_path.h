#pragma once

#include <filesystem>

namespace zelmora::batch {

// Whether two resolved paths name the same place as the file system compares names: exactly
// on POSIX, regardless of case on Windows.
bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace zelmora::batch
