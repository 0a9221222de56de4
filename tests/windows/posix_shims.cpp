#include "posix_shims.h"

#include <cstring>
#include <random>
#include <windows.h>

char* mkdtemp(char* pattern) {
    constexpr std::size_t Unique = 6;
    constexpr int Attempts = 100;
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t length = std::strlen(pattern);
    if (length < Unique || std::strcmp(pattern + length - Unique, "XXXXXX") != 0) {
        return nullptr;
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(letters) - 2);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        for (std::size_t i = length - Unique; i < length; ++i) {
            pattern[i] = letters[pick(random)];
        }
        if (CreateDirectoryA(pattern, nullptr)) {
            return pattern;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return nullptr;
        }
    }
    return nullptr;
}
