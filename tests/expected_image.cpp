// SPDX-License-Identifier: MIT
#include "expected_image.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace expected {

namespace {

void place(Bytes& rom, std::size_t offset, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), rom.begin() + static_cast<std::ptrdiff_t>(offset));
}

void place(Bytes& rom, std::size_t offset, const char* text) {
    std::memcpy(rom.data() + offset, text, std::strlen(text));
}

Bytes le16(std::uint16_t value) {
    return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
}

void place_boot_sector(Bytes& rom) {
    place(rom, 0,
          hex("49 50 4C 34 20 4F 53 52 4F 4D 20 00 02 02 01 00 02 70 00 00 02 FB 02 00"
              "10 00 02 00"));
    place(rom, 38, hex("29"));
    place(rom, 43, "NO NAME    FAT12   ");
}

// Entries 0 and 1 hold the media byte and 0xFFF; 2 to 76 link onward; 77 ends
// the chain. Each pair (a, b) fills three bytes: a's low byte, b's low nibble
// over a's high nibble, b's high byte.
Bytes fat() {
    std::vector<unsigned> entries{0xFFB, 0xFFF};
    for (unsigned cluster = 2; cluster <= 76; ++cluster) {
        entries.push_back(cluster + 1);
    }
    entries.push_back(0xFFF);
    Bytes table(fat_bytes, 0x00);
    for (std::size_t i = 0; i < entries.size(); i += 2) {
        const unsigned a = entries[i];
        const unsigned b = i + 1 < entries.size() ? entries[i + 1] : 0;
        const std::size_t at = i / 2 * 3;
        table[at] = static_cast<std::uint8_t>(a & 0xFF);
        table[at + 1] = static_cast<std::uint8_t>((a >> 8) | (b & 0x0F) << 4);
        table[at + 2] = static_cast<std::uint8_t>(b >> 4);
    }
    return table;
}

void place_root_directory(Bytes& rom, image::DosStamp stamp) {
    Bytes stamp_bytes = le16(stamp.time);
    const Bytes date = le16(stamp.date);
    stamp_bytes.insert(stamp_bytes.end(), date.begin(), date.end());

    place(rom, root_offset, "OS-ROM     ");
    place(rom, root_offset + 11, hex("28"));
    place(rom, label_stamp_offset, stamp_bytes);

    place(rom, root_offset + 32, "DUMYFILEBIN");
    place(rom, root_offset + 32 + 11, hex("02"));
    place(rom, root_offset + 32 + 22, stamp_bytes);
    place(rom, root_offset + 32 + 26, hex("02 00 00 30 01 00"));

    for (std::size_t entry = 2; entry < 112; ++entry) {
        const std::size_t at = root_offset + entry * 32;
        std::fill_n(rom.begin() + static_cast<std::ptrdiff_t>(at + 1), 31, 0xF6);
    }
}

}  // namespace

Bytes hex(const char* text) {
    Bytes bytes;
    std::string digits;
    for (const char* c = text; *c != '\0'; ++c) {
        if (std::isxdigit(static_cast<unsigned char>(*c))) {
            digits += *c;
        }
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

image::DosStamp stamp_of(const Bytes& rom) {
    const auto le16_at = [&](std::size_t at) {
        return static_cast<std::uint16_t>(rom.at(at) | rom.at(at + 1) << 8);
    };
    return {le16_at(label_stamp_offset), le16_at(label_stamp_offset + 2)};
}

Bytes rom_image(image::DosStamp stamp) {
    Bytes rom(image_size, 0x00);
    std::fill(rom.begin() + tail_offset, rom.end(), 0xFF);
    place_boot_sector(rom);
    place(rom, fat1_offset, fat());
    place(rom, fat2_offset, fat());
    place_root_directory(rom, stamp);
    return rom;
}

}  // namespace expected
