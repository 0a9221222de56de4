#include "project/sha256.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// FIPS 180-4's examples; a long input hashed whole and in parts gives one digest.
TEST(Sha256, KnownDigests) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string text(1000, 'a');
    Sha256Hasher hasher;
    hasher.Update(text.substr(0, 333));
    hasher.Update(text.substr(333));
    EXPECT_EQ(hasher.Finish(), Sha256(text));
}

} // namespace
} // namespace zelmora
