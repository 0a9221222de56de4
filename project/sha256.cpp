#include "project/sha256.h"

namespace zelmora {

std::array<unsigned char, 32> Sha256(std::string_view bytes) {
    Sha256Hasher hasher;
    hasher.Update(bytes);
    return hasher.Finish();
}

std::string Sha256Hex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : Sha256(bytes)) {
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0x0f];
    }
    return hex;
}

} // namespace zelmora
