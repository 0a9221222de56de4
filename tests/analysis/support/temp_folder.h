#pragma once

// The names the fault tests use for the shared temporary folder and file helpers.
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <string>

namespace zelmora::testing {

class TempFolder : public test_support::TempFolder {
public:
    std::filesystem::path path() const { return Path(); }
    std::string operator/(const std::string& name) const { return File(name); }
};

inline std::string ReadWholeFile(const std::string& path) {
    return test_support::ReadBytes(path);
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
    test_support::WriteBytes(path, text);
}

} // namespace zelmora::testing
