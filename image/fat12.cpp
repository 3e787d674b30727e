// SPDX-License-Identifier: MIT
#include "image/fat12.hpp"

namespace image {

namespace {
constexpr unsigned low_nibble = 0x0F;   // bits of the shared byte an even entry owns
constexpr unsigned high_nibble = 0xF0;  // bits of the shared byte an odd entry owns
constexpr unsigned nibble_bits = 4;
constexpr unsigned byte_bits = 8;

bool is_odd(std::size_t n) {
    return n % 2 != 0;
}
}  // namespace

void fat12_set(std::uint8_t* table, std::size_t n, std::uint16_t value) {
    std::uint8_t* p = table + fat12_offset(n);
    const unsigned v = value & fat12_entry_mask;
    if (is_odd(n)) {
        p[0] = static_cast<std::uint8_t>((p[0] & low_nibble) | (v << nibble_bits & high_nibble));
        p[1] = static_cast<std::uint8_t>(v >> nibble_bits);
    } else {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>((p[1] & high_nibble) | (v >> byte_bits & low_nibble));
    }
}

std::uint16_t fat12_get(const std::uint8_t* table, std::size_t n) {
    const std::uint8_t* p = table + fat12_offset(n);
    const unsigned pair = p[0] | static_cast<unsigned>(p[1]) << byte_bits;
    const unsigned entry = is_odd(n) ? pair >> nibble_bits : pair;
    return static_cast<std::uint16_t>(entry & fat12_entry_mask);
}

}  // namespace image
