#include "app/ConfigScrambling.h"

#include <algorithm>

namespace palto {

ConfigKey DeriveConfigKey(std::string_view text)
{
    ConfigKey key{};
    for (unsigned j = 0; j < key.size(); ++j) {
        unsigned sum = 0;
        for (unsigned m = 0; m < key.size() && m < text.size(); ++m) {
            const unsigned c = static_cast<unsigned char>(text[m]);
            const unsigned s = (j + m) % 8;
            sum += ((c << s) & 0xFFu) | (c >> s);  // two shifts by the same count, not a rotation
        }
        key[j] = static_cast<std::uint8_t>(sum);
    }
    return key;
}

std::uint8_t ScrambleFactor(const ConfigKey& key)
{
    unsigned sum = 0;
    for (std::uint8_t byte : key) sum += byte;
    return static_cast<std::uint8_t>(sum);
}

std::uint8_t PermuteBits(std::uint8_t i)
{
    constexpr int kSourceBit[8] = {6, 4, 2, 0, 7, 5, 3, 1};  // bit k of P(i) is bit kSourceBit[k] of i
    unsigned p = 0;
    for (int k = 0; k < 8; ++k) p |= ((i >> kSourceBit[k]) & 1u) << k;
    return static_cast<std::uint8_t>(p);
}

namespace {

std::uint8_t Shift(std::size_t i, std::uint8_t factor)
{
    return static_cast<std::uint8_t>((PermuteBits(static_cast<std::uint8_t>(i)) + 1u) * factor);
}

}  // namespace

void ScrambleBlock(std::uint8_t* block, std::size_t size, std::uint8_t factor)
{
    for (std::size_t i = 0; i < size && i < kConfigBlockSize; ++i) block[i] = static_cast<std::uint8_t>(block[i] + Shift(i, factor));
}

void UnscrambleBlock(std::uint8_t* block, std::size_t size, std::uint8_t factor)
{
    for (std::size_t i = 0; i < size && i < kConfigBlockSize; ++i) block[i] = static_cast<std::uint8_t>(block[i] - Shift(i, factor));
}

std::string ScrambleText(std::string_view plain, std::uint8_t factor)
{
    std::string stored(plain);
    auto* bytes = reinterpret_cast<std::uint8_t*>(stored.data());
    for (std::size_t at = 0; at < stored.size(); at += kConfigBlockSize) {
        ScrambleBlock(bytes + at, std::min(kConfigBlockSize, stored.size() - at), factor);
    }
    return stored;
}

}  // namespace palto
