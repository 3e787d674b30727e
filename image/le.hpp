// SPDX-License-Identifier: MIT
// Little-endian field access, so the on-disk layout never depends on the
// host's byte order or on how the compiler packs a struct.
#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

inline void put_le16(std::uint8_t (&field)[2], std::uint16_t value) {
    field[0] = static_cast<std::uint8_t>(value);
    field[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put_le32(std::uint8_t (&field)[4], std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        field[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint16_t get_le16(const std::uint8_t (&field)[2]) {
    return static_cast<std::uint16_t>(field[0] | field[1] << 8);
}

inline std::uint32_t get_le32(const std::uint8_t (&field)[4]) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(field[i]) << (8 * i);
    }
    return value;
}

// The text must fill the field exactly: on-disk names are space-padded by
// hand in the literal, and a wrong length is a compile error, not a silent
// truncation.
template <std::size_t N> void put_text(std::uint8_t (&field)[N], const char (&text)[N + 1]) {
    for (std::size_t i = 0; i < N; ++i) {
        field[i] = static_cast<std::uint8_t>(text[i]);
    }
}

}  // namespace image
