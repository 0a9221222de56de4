#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

// SHA-256 (FIPS 180-4) of our own: the core builds for Windows too, where no small library
// offers it.
std::array<unsigned char, 32> Sha256(std::string_view bytes);

// The digest as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of bytes handed over in pieces, for data too large to hold at once.
class Sha256Hasher {
public:
    void Update(std::string_view bytes);
    // The digest of everything handed over; the hasher starts afresh afterwards.
    std::array<unsigned char, 32> Finish();

private:
    void Compress(const unsigned char* block);

    std::array<std::uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> block_{};
    std::size_t blockLength_ = 0;
    std::uint64_t totalLength_ = 0;
};

} // namespace zelmora
