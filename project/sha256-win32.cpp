#include "project/sha256.h"

#include <string>

namespace zelmora {

namespace {

constexpr std::array<std::uint32_t, 64> RoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t RotateRight(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

std::uint32_t BigEndianWord(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::array<std::uint32_t, 64> MessageSchedule(const unsigned char* block) {
    std::array<std::uint32_t, 64> w{};
    for (std::size_t t = 0; t < 16; ++t) {
        w[t] = BigEndianWord(block + 4 * t);
    }
    for (int t = 16; t < 64; ++t) {
        const std::uint32_t s0 =
            RotateRight(w[t - 15], 7) ^ RotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
        const std::uint32_t s1 =
            RotateRight(w[t - 2], 17) ^ RotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
        w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    return w;
}

} // namespace

// The standard's own computation: Debian offers the Windows build no library for it.
struct Sha256Hasher::State {
    std::array<std::uint32_t, 8> hash = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> block{};
    std::size_t blockLength = 0;
    std::uint64_t totalLength = 0;

    void Compress(const unsigned char* bytes) {
        const std::array<std::uint32_t, 64> w = MessageSchedule(bytes);
        std::array<std::uint32_t, 8> v = hash;
        for (int t = 0; t < 64; ++t) {
            const std::uint32_t s1 =
                RotateRight(v[4], 6) ^ RotateRight(v[4], 11) ^ RotateRight(v[4], 25);
            const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + s1 + choice + RoundConstants[t] + w[t];
            const std::uint32_t s0 =
                RotateRight(v[0], 2) ^ RotateRight(v[0], 13) ^ RotateRight(v[0], 22);
            const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            const std::uint32_t t2 = s0 + majority;
            v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (std::size_t i = 0; i < hash.size(); ++i) {
            hash[i] += v[i];
        }
    }

    void Update(std::string_view bytes) {
        totalLength += bytes.size();
        for (const char c : bytes) {
            block[blockLength++] = static_cast<unsigned char>(c);
            if (blockLength == block.size()) {
                Compress(block.data());
                blockLength = 0;
            }
        }
    }
};

Sha256Hasher::Sha256Hasher() : state_(std::make_unique<State>()) {}
Sha256Hasher::~Sha256Hasher() = default;
Sha256Hasher::Sha256Hasher(Sha256Hasher&&) noexcept = default;
Sha256Hasher& Sha256Hasher::operator=(Sha256Hasher&&) noexcept = default;

void Sha256Hasher::Update(std::string_view bytes) {
    state_->Update(bytes);
}

std::array<unsigned char, 32> Sha256Hasher::Finish() {
    const std::uint64_t bitLength = state_->totalLength * 8;
    state_->Update(std::string_view("\x80", 1));
    while (state_->blockLength != 56) {
        state_->Update(std::string_view("\0", 1));
    }
    std::string lengthBytes(8, '\0');
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<char>(bitLength >> (56 - 8 * i));
    }
    state_->Update(lengthBytes);
    std::array<unsigned char, 32> digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<unsigned char>(state_->hash[i / 4] >> (24 - 8 * (i % 4)));
    }
    *state_ = State();
    return digest;
}

} // namespace zelmora
