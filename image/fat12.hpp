// SPDX-License-Identifier: MIT
// The 12-bit file allocation table: two entries share three bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

inline constexpr std::uint16_t fat12_entry_mask = 0x0FFF;    // an entry holds 12 bits
inline constexpr std::uint16_t fat12_end_of_chain = 0x0FFF;  // last cluster of a file

// Byte offset of entry n: one and a half bytes per entry.
constexpr std::size_t fat12_offset(std::size_t n) {
    return n + n / 2;
}

// Stores the low 12 bits of value as entry n, keeping the nibble that the
// neighbouring entry keeps in the shared byte. Both bytes at fat12_offset(n)
// must lie inside the table.
void fat12_set(std::uint8_t* table, std::size_t n, std::uint16_t value);

// Reads entry n back.
std::uint16_t fat12_get(const std::uint8_t* table, std::size_t n);

}  // namespace image
