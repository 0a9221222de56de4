#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fuzz {

// A scratch path of this process, reused by every input.
inline std::string ScratchPath(const std::string& tag) {
    return "/tmp/zelmora-fuzz-" + std::to_string(getpid()) + "-" + tag;
}

inline void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A broken promise: libFuzzer keeps the input that led here.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

} // namespace fuzz
