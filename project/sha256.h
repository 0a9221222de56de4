#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zelmora {

// SHA-256 (FIPS 180-4): OpenSSL's on Linux; on Windows, for which Debian's cross build offers no
// such library, one of our own.
std::array<unsigned char, 32> Sha256(std::string_view bytes);

// The digest as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of bytes handed over in pieces, for data too large to hold at once.
class Sha256Hasher {
public:
    Sha256Hasher();
    ~Sha256Hasher();
    Sha256Hasher(Sha256Hasher&&) noexcept;
    Sha256Hasher& operator=(Sha256Hasher&&) noexcept;

    void Update(std::string_view bytes);
    // The digest of everything handed over; the hasher starts afresh afterwards.
    std::array<unsigned char, 32> Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zelmora
