#include "slopecalc/atomic_file.h"

#include "project/errors.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace slopecalc {

void WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw zelmora::Error("cannot write " + path);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw zelmora::Error("cannot write " + path);
    }
}

void RemoveIfPresent(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) {
        throw zelmora::Error("cannot remove the earlier " + path + ": " + error.message());
    }
}

} // namespace slopecalc
