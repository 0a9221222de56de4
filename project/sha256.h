#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

// SHA-256 (FIPS 180-4) of a byte string, as 32 bytes or as 64 lower-case hexadecimal digits.
std::array<unsigned char, 32> Sha256(std::string_view bytes);
std::string Sha256Hex(std::string_view bytes);

// The same digest over bytes handed over in parts.
class Sha256Hasher {
public:
    Sha256Hasher();
    void Update(std::string_view bytes);
    std::array<unsigned char, 32> Finish();

private:
    void Compress(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> block_{};
    std::size_t filled_ = 0;
    std::uint64_t length_ = 0;
};

} // namespace zelmora
