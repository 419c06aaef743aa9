#include "simengine/Protect.h"

#include <cstdint>

namespace sim {

namespace {

constexpr std::uint64_t kKeys[2] = {0x6A09E667F3BCC908ull, 0xBB67AE8584CAA73Bull};

// The finalizer of splitmix64: every input bit affects every output bit.
std::uint64_t Mix(std::uint64_t x)
{
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

std::u16string ProtectedForm(std::u16string_view text, std::size_t length)
{
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string form = u"HX1:";
    std::uint64_t state = 0;
    for (const std::uint64_t key : kKeys) {
        state = Mix(key ^ text.size());
        for (const char16_t ch : text) state = Mix(state ^ key ^ ch);
        for (int shift = 60; shift >= 0; shift -= 4) form += kHex[(state >> shift) & 0xF];
    }
    while (form.size() < length) {
        state = Mix(state ^ form.size());
        form += kHex[state & 0xF];
    }
    return form;
}

}  // namespace sim
