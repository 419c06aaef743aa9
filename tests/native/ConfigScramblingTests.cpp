#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/ConfigScrambling.h"

using namespace palto;

namespace {

TEST(ConfigKey, EachByteSumsTwoShiftsOfEveryCharacter)
{
    // For 'A' (0x41) the eight terms are 41 A2 14 08 14 22 41 80 (a rotation would give
    // A0 for the second): 0x1F6, so every key byte is F6 and S = 8 * F6 = 0xB0 modulo 256.
    const ConfigKey key = DeriveConfigKey("AAAAAAAA");
    for (std::uint8_t byte : key) EXPECT_EQ(byte, 0xF6);
    EXPECT_EQ(ScrambleFactor(key), 0xB0);
}

TEST(ConfigKey, DependsOnWhereEachCharacterStands)
{
    const ConfigKey key = DeriveConfigKey(std::string("\x01\0\0\0\0\0\0\0", 8));
    // The character 1 at m = 0 is shifted by s = j: 1 << j, or 1 | 1 for j = 0.
    for (unsigned j = 0; j < 8; ++j) EXPECT_EQ(key[j], 1u << j) << j;
}

TEST(ConfigKey, TheProductTextGivesAFactorThatMovesEveryPosition)
{
    // An odd S shifts the 256 positions of a block by 256 different amounts.
    EXPECT_EQ(ScrambleFactor(DeriveConfigKey()) % 2, 1);
}

TEST(PermuteBits, MovesEachBitToItsPlace)
{
    EXPECT_EQ(PermuteBits(0), 0);
    EXPECT_EQ(PermuteBits(1), 8);      // bit 0 -> bit 3
    EXPECT_EQ(PermuteBits(2), 128);    // bit 1 -> bit 7
    EXPECT_EQ(PermuteBits(4), 4);      // bit 2 -> bit 2
    EXPECT_EQ(PermuteBits(8), 64);     // bit 3 -> bit 6
    EXPECT_EQ(PermuteBits(16), 2);     // bit 4 -> bit 1
    EXPECT_EQ(PermuteBits(32), 32);    // bit 5 -> bit 5
    EXPECT_EQ(PermuteBits(64), 1);     // bit 6 -> bit 0
    EXPECT_EQ(PermuteBits(128), 16);   // bit 7 -> bit 4
    EXPECT_EQ(PermuteBits(255), 255);
    std::set<int> values;
    for (int i = 0; i < 256; ++i) values.insert(PermuteBits(static_cast<std::uint8_t>(i)));
    EXPECT_EQ(values.size(), 256u);
}

TEST(ScrambleText, ShiftsEachByteByItsPositionInItsBlock)
{
    const std::uint8_t s = 0x11;
    const std::string stored = ScrambleText(std::string(600, '\0'), s);
    ASSERT_EQ(stored.size(), 600u);
    const auto at = [&](size_t i) { return static_cast<std::uint8_t>(stored[i]); };
    EXPECT_EQ(at(0), s);                                   // P(0) + 1 = 1
    EXPECT_EQ(at(1), static_cast<std::uint8_t>(9 * s));    // P(1) + 1 = 9
    EXPECT_EQ(at(255), 0);                                 // 256 * S: not shifted
    EXPECT_EQ(at(256), s);                                 // a new block starts again at i = 0
    EXPECT_EQ(at(513), static_cast<std::uint8_t>(9 * s));
}

TEST(ScrambleText, IsUndoneBlockByBlock)
{
    std::string plain;
    for (int i = 0; i < 700; ++i) plain += static_cast<char>(i * 7);
    const std::uint8_t s = ScrambleFactor(DeriveConfigKey());
    std::string data = ScrambleText(plain, s);
    EXPECT_NE(data, plain);
    auto* bytes = reinterpret_cast<std::uint8_t*>(data.data());
    for (size_t at = 0; at < data.size(); at += kConfigBlockSize) {
        UnscrambleBlock(bytes + at, std::min(kConfigBlockSize, data.size() - at), s);
    }
    EXPECT_EQ(data, plain);
}

}  // namespace
