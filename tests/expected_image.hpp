// SPDX-License-Identifier: MIT
// The OS-ROM image as its layout table describes it, rendered independently
// of the builder: literal bytes where the layout lists them, and the
// allocation table packed pair by pair rather than entry by entry.
#pragma once

#include <cstdint>
#include <vector>

#include "image/dos_stamp.hpp"

namespace expected {

using Bytes = std::vector<std::uint8_t>;

Bytes rom_image(image::DosStamp stamp);

// Offsets of the regions, as the layout table gives them.
inline constexpr std::size_t fat1_offset = 0x200;
inline constexpr std::size_t fat2_offset = 0x600;
inline constexpr std::size_t fat_bytes = 1024;
inline constexpr std::size_t root_offset = 0xA00;
inline constexpr std::size_t label_stamp_offset = root_offset + 22;  // time, then date
inline constexpr std::size_t data_offset = 0x1800;
inline constexpr std::size_t tail_offset = 0x40000;
inline constexpr std::size_t image_size = 0x80000;
inline constexpr std::size_t volume_size = tail_offset;

// The stamp that `rom`'s entries carry, read from the label's.
image::DosStamp stamp_of(const Bytes& rom);

// Bytes from a string of hex pairs, spaces ignored.
Bytes hex(const char* text);

}  // namespace expected
