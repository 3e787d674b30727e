// SPDX-License-Identifier: MIT
#include "image/builder.hpp"

#include <cstring>

#include "image/fat12.hpp"
#include "image/le.hpp"
#include "image/volume.hpp"
#include "image/write_block.hpp"

namespace image {

namespace {

// Boot sector values.
constexpr char jump_text[] = "IPL";                 // stands where a jump instruction would
constexpr char oem_text[] = "4 OSROM ";             // names the image format
constexpr std::uint16_t sector_bytes = 512;         // bytes in a sector
constexpr std::uint8_t cluster_sectors = 2;         // 1 KiB clusters
constexpr std::uint16_t reserved_count = 1;         // the boot sector alone precedes the tables
constexpr std::uint8_t fat_copies = 2;              // a table and its backup
constexpr std::uint16_t root_entry_count = 112;     // seven sectors of directory entries
constexpr std::uint16_t volume_sector_count = 512;  // the volume is the image's first half
constexpr std::uint8_t media_descriptor = 0xFB;     // media byte of the OS-ROM format
constexpr std::uint16_t fat_sectors = 2;            // room for 682 entries, 252 are needed
constexpr std::uint16_t track_sectors = 16;         // nominal geometry for BIOS-style readers
constexpr std::uint16_t head_count = 2;             // nominal geometry for BIOS-style readers
constexpr std::uint8_t extended_signature = 0x29;   // serial, label and type fields are present
constexpr char boot_label_text[] = "NO NAME    ";   // the label proper is the directory entry
constexpr char fs_type_text[] = "FAT12   ";         // informative only; readers count clusters

// Allocation table.
constexpr std::uint8_t reserved_entry_byte = 0xFF;      // fills entries 0 and 1 past the media byte
constexpr std::uint16_t placeholder_first_cluster = 2;  // first cluster of the data area
constexpr std::uint16_t placeholder_last_cluster = 77;  // end of the reserved run
constexpr std::uint32_t placeholder_cluster_count = 76;  // clusters 2 to 77
constexpr std::size_t fat_write_bytes = 1024;            // one table as written

// Root directory.
constexpr char label_name[] = "OS-ROM  ";
constexpr char label_ext[] = "   ";
constexpr char placeholder_name[] = "DUMYFILE";
constexpr char placeholder_ext[] = "BIN";
constexpr std::uint32_t fixed_entry_count = 2;  // the label and the placeholder
constexpr std::uint8_t free_entry_mark = 0x00;  // first byte of a never-used entry
constexpr std::uint8_t free_entry_fill = 0xF6;  // the rest of a never-used entry

// Tail and scratch.
constexpr std::uint32_t tail_sectors = 512;  // the image's second half, outside the volume
constexpr std::uint8_t erased_byte = 0xFF;   // erased ROM reads as all ones
constexpr std::size_t scratch_bytes = 2048;  // holds a table, and a sector of filler

static_assert(sizeof(BootSector) == sector_bytes);
static_assert(fat_write_bytes == std::size_t{fat_sectors} * sector_bytes);
static_assert(fat12_offset(placeholder_last_cluster) + 1 < fat_write_bytes);

template <typename Record> const std::uint8_t* bytes_of(const Record& record) {
    return reinterpret_cast<const std::uint8_t*>(&record);
}

std::uint16_t sector_size(const BootSector& boot) {
    return get_le16(boot.bytes_per_sector);
}

void write_sectors(const BootSector& boot, const std::uint8_t* sector, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        write_block(sector, sector_size(boot));
    }
}

void fill_boot_sector(BootSector& boot) {
    boot = BootSector{};
    put_text(boot.jump, jump_text);
    put_text(boot.oem_name, oem_text);
    put_le16(boot.bytes_per_sector, sector_bytes);
    boot.sectors_per_cluster = cluster_sectors;
    put_le16(boot.reserved_sectors, reserved_count);
    boot.fat_count = fat_copies;
    put_le16(boot.root_entries, root_entry_count);
    put_le16(boot.total_sectors16, volume_sector_count);
    boot.media = media_descriptor;
    put_le16(boot.sectors_per_fat, fat_sectors);
    put_le16(boot.sectors_per_track, track_sectors);
    put_le16(boot.heads, head_count);
    boot.boot_signature = extended_signature;
    put_text(boot.volume_label, boot_label_text);
    put_text(boot.fs_type, fs_type_text);
}

// Sectors between the boot sector and the first table; none in this layout.
void write_reserved_sectors(const BootSector& boot, std::uint8_t* scratch) {
    std::memset(scratch, 0, scratch_bytes);
    for (std::uint32_t i = 1; i < get_le16(boot.reserved_sectors); ++i) {
        write_block(scratch, sector_size(boot));
    }
}

void fill_fat(const BootSector& boot, std::uint8_t* scratch) {
    std::memset(scratch, 0, scratch_bytes);
    scratch[0] = boot.media;
    scratch[1] = reserved_entry_byte;
    scratch[2] = reserved_entry_byte;
    for (std::uint16_t n = placeholder_first_cluster; n < placeholder_last_cluster; ++n) {
        fat12_set(scratch, n, static_cast<std::uint16_t>(n + 1));
    }
    fat12_set(scratch, placeholder_last_cluster, fat12_end_of_chain);
}

void write_fats(const BootSector& boot, const std::uint8_t* scratch) {
    for (std::uint32_t i = 0; i < boot.fat_count; ++i) {
        write_block(scratch, fat_write_bytes);
    }
}

void fill_stamped_entry(DirEntry& entry, DosStamp stamp) {
    entry = DirEntry{};
    put_le16(entry.time, stamp.time);
    put_le16(entry.date, stamp.date);
}

void fill_label_entry(DirEntry& entry, DosStamp stamp) {
    fill_stamped_entry(entry, stamp);
    put_text(entry.name, label_name);
    put_text(entry.ext, label_ext);
    entry.attr = attr_archive | attr_volume_label;
}

void fill_placeholder_entry(DirEntry& entry, const BootSector& boot, DosStamp stamp) {
    fill_stamped_entry(entry, stamp);
    put_text(entry.name, placeholder_name);
    put_text(entry.ext, placeholder_ext);
    entry.attr = attr_hidden;
    put_le16(entry.first_cluster, placeholder_first_cluster);
    put_le32(entry.size, std::uint32_t{boot.sectors_per_cluster} * sector_size(boot) *
                             placeholder_cluster_count);
}

void fill_free_entry(DirEntry& entry) {
    std::memset(&entry, free_entry_fill, sizeof entry);
    entry.name[0] = free_entry_mark;
}

void write_entry(const DirEntry& entry) {
    write_block(bytes_of(entry), sizeof entry);
}

void write_root_directory(const BootSector& boot, DirEntry& entry, DosStamp stamp) {
    fill_label_entry(entry, stamp);
    write_entry(entry);
    fill_placeholder_entry(entry, boot, stamp);
    write_entry(entry);
    fill_free_entry(entry);
    for (std::uint32_t i = fixed_entry_count; i < get_le16(boot.root_entries); ++i) {
        write_entry(entry);
    }
}

void write_data_area(const BootSector& boot, std::uint8_t* scratch) {
    std::memset(scratch, 0, scratch_bytes);
    write_sectors(boot, scratch, data_sectors(boot));
}

void write_tail(const BootSector& boot, std::uint8_t* scratch) {
    std::memset(scratch, erased_byte, scratch_bytes);
    write_sectors(boot, scratch, tail_sectors);
}

}  // namespace

void build_image(DosStamp stamp) {
    BootSector boot;
    std::uint8_t scratch[scratch_bytes];
    DirEntry entry;

    fill_boot_sector(boot);
    write_block(bytes_of(boot), sector_size(boot));
    write_reserved_sectors(boot, scratch);
    fill_fat(boot, scratch);
    write_fats(boot, scratch);
    write_root_directory(boot, entry, stamp);
    write_data_area(boot, scratch);
    write_tail(boot, scratch);
}

}  // namespace image
