#include "project/sha256.h"

#include <gtest/gtest.h>
#include <string>

namespace zelmora {
namespace {

std::string Hex(const std::array<unsigned char, 32>& digest) {
    std::string hex;
    for (const unsigned char byte : digest) {
        static constexpr char Digits[] = "0123456789abcdef";
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0x0f];
    }
    return hex;
}

struct Vector {
    std::string message;
    std::string digest;
};

// The FIPS 180-4 examples, and messages whose padding falls on either side of a block's end.
const Vector Vectors[] = {
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmn"
     "opqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
};

TEST(Sha256Test, GivesTheStandardsDigests) {
    for (const Vector& v : Vectors) {
        EXPECT_EQ(Sha256Hex(v.message), v.digest) << '"' << v.message << '"';
    }
}

TEST(Sha256Test, TheHasherGivesTheSameDigestForAnySplit) {
    for (const Vector& v : Vectors) {
        for (std::size_t piece : {1u, 3u, 63u, 64u, 65u}) {
            Sha256Hasher hasher;
            for (std::size_t at = 0; at < v.message.size(); at += piece) {
                hasher.Update(std::string_view(v.message).substr(at, piece));
            }
            EXPECT_EQ(Hex(hasher.Finish()), v.digest) << '"' << v.message << "\" by " << piece;
        }
    }
}

TEST(Sha256Test, OneMillionAsInPiecesOfUnevenSize) {
    Sha256Hasher hasher;
    const std::string piece(997, 'a');
    std::size_t left = 1000000;
    while (left > 0) {
        const std::size_t size = std::min(left, piece.size());
        hasher.Update(std::string_view(piece).substr(0, size));
        left -= size;
    }
    EXPECT_EQ(Hex(hasher.Finish()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256Test, TheHasherStartsAfreshAfterFinish) {
    Sha256Hasher hasher;
    hasher.Update("xyz");
    hasher.Finish();
    hasher.Update("abc");
    EXPECT_EQ(Hex(hasher.Finish()), Vectors[0].digest);
}

} // namespace
} // namespace zelmora
