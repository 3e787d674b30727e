// SPDX-License-Identifier: MIT
// On-disk records of the OS-ROM volume. Every field is a byte array written
// through the little-endian helpers, so the records have no padding and the
// same bytes on every host.
#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

struct BootSector {
    std::uint8_t jump[3];  // holds a text, not a jump instruction
    std::uint8_t oem_name[8];
    std::uint8_t bytes_per_sector[2];
    std::uint8_t sectors_per_cluster;
    std::uint8_t reserved_sectors[2];
    std::uint8_t fat_count;
    std::uint8_t root_entries[2];
    std::uint8_t total_sectors16[2];
    std::uint8_t media;
    std::uint8_t sectors_per_fat[2];
    std::uint8_t sectors_per_track[2];
    std::uint8_t heads[2];
    std::uint8_t hidden_sectors_low[2];
    std::uint8_t hidden_sectors_high[2];
    std::uint8_t total_sectors32[4];
    std::uint8_t drive_number;
    std::uint8_t reserved1;
    std::uint8_t boot_signature;
    std::uint8_t volume_serial[4];
    std::uint8_t volume_label[11];
    std::uint8_t fs_type[8];
    std::uint8_t boot_code[450];  // left zero: the image carries no boot code or end marker
};

static_assert(sizeof(BootSector) == 512);
static_assert(offsetof(BootSector, oem_name) == 3);
static_assert(offsetof(BootSector, bytes_per_sector) == 11);
static_assert(offsetof(BootSector, sectors_per_cluster) == 13);
static_assert(offsetof(BootSector, reserved_sectors) == 14);
static_assert(offsetof(BootSector, fat_count) == 16);
static_assert(offsetof(BootSector, root_entries) == 17);
static_assert(offsetof(BootSector, total_sectors16) == 19);
static_assert(offsetof(BootSector, media) == 21);
static_assert(offsetof(BootSector, sectors_per_fat) == 22);
static_assert(offsetof(BootSector, sectors_per_track) == 24);
static_assert(offsetof(BootSector, heads) == 26);
static_assert(offsetof(BootSector, hidden_sectors_low) == 28);
static_assert(offsetof(BootSector, hidden_sectors_high) == 30);
static_assert(offsetof(BootSector, total_sectors32) == 32);
static_assert(offsetof(BootSector, drive_number) == 36);
static_assert(offsetof(BootSector, reserved1) == 37);
static_assert(offsetof(BootSector, boot_signature) == 38);
static_assert(offsetof(BootSector, volume_serial) == 39);
static_assert(offsetof(BootSector, volume_label) == 43);
static_assert(offsetof(BootSector, fs_type) == 54);
static_assert(offsetof(BootSector, boot_code) == 62);

struct DirEntry {
    std::uint8_t name[8];
    std::uint8_t ext[3];
    std::uint8_t attr;
    std::uint8_t reserved[10];
    std::uint8_t time[2];
    std::uint8_t date[2];
    std::uint8_t first_cluster[2];
    std::uint8_t size[4];
};

static_assert(sizeof(DirEntry) == 32);
static_assert(offsetof(DirEntry, ext) == 8);
static_assert(offsetof(DirEntry, attr) == 11);
static_assert(offsetof(DirEntry, reserved) == 12);
static_assert(offsetof(DirEntry, time) == 22);
static_assert(offsetof(DirEntry, date) == 24);
static_assert(offsetof(DirEntry, first_cluster) == 26);
static_assert(offsetof(DirEntry, size) == 28);

inline constexpr std::uint8_t attr_hidden = 0x02;        // not listed by default
inline constexpr std::uint8_t attr_volume_label = 0x08;  // the entry names the volume
inline constexpr std::uint8_t attr_archive = 0x20;       // changed since the last backup

// Geometry derived from the fields, so that the builder's loops follow the
// record rather than a second copy of its values.
std::uint32_t root_dir_sectors(const BootSector& boot);
std::uint32_t volume_sectors(const BootSector& boot);
std::uint32_t data_sectors(const BootSector& boot);

}  // namespace image
