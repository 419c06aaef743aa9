// The scrambling of the product configuration file: the file is stored in blocks of
// 256 bytes, and byte i of a block is the plain byte plus (P(i) + 1) * S, modulo 256,
// where P moves the bits of i and S is the sum of the bytes of the key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace palto {

// The eight characters the key is made from. The wizard and the pconfig tool must use
// the same text: files made with another one read as other text.
inline constexpr char kConfigKeyText[] = "Tv9!mQe4";

inline constexpr std::size_t kConfigBlockSize = 256;
inline constexpr std::size_t kConfigMaxFileSize = 32768;   // longest file the wizard reads

using ConfigKey = std::array<std::uint8_t, 8>;

// Key byte j is the sum, modulo 256, over the characters c[m] of the text of
// ((c[m] << s) cut to 8 bits) | (c[m] >> s), with s = (j + m) mod 8.
ConfigKey DeriveConfigKey(std::string_view text = {kConfigKeyText, 8});

// S: the sum of the key's bytes, modulo 256.
std::uint8_t ScrambleFactor(const ConfigKey& key);

// P(i): bits 6 4 2 0 7 5 3 1 of i become bits 0 to 7.
std::uint8_t PermuteBits(std::uint8_t i);

// Scrambles or unscrambles in place a block of at most 256 bytes that starts at a file
// offset that is a multiple of 256.
void ScrambleBlock(std::uint8_t* block, std::size_t size, std::uint8_t factor);
void UnscrambleBlock(std::uint8_t* block, std::size_t size, std::uint8_t factor);

// A whole file's contents, block after block.
std::string ScrambleText(std::string_view plain, std::uint8_t factor);

}  // namespace palto
