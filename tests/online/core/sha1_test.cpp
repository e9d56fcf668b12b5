#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "online/core/sha1.h"

namespace {

TEST(Sha1Test, StandardVectors)
{
    struct Case {
        const char* what;
        std::string message;
        const char* digest;
    };
    const Case cases[] = {
        {"FIPS 180-1 one block", "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"empty message", "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"FIPS 180-1 two blocks (56 bytes: the length spills into a second block)",
         "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"55 bytes: padding and length just fit", std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
        {"exactly one block", std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
        {"FIPS 180-1 one million 'a'", std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSha1::HexOf(c.message), c.digest) << c.what;
}

TEST(Sha1Test, PiecewiseInputGivesTheSameDigest)
{
    // Pieces of odd sizes cross the 64-byte blocks at every offset.
    const std::string million(1000000, 'a');
    CSha1 sha;
    size_t offset = 0;
    for (size_t piece = 1; offset < million.size(); piece = piece % 131 + 1) {
        const size_t take = std::min(piece, million.size() - offset);
        sha.Update(million.data() + offset, take);
        offset += take;
    }
    EXPECT_EQ(CSha1::ToHex(sha.Final()), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
    // Final starts the object over.
    sha.Update("abc");
    EXPECT_EQ(CSha1::ToHex(sha.Final()), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

} // namespace
