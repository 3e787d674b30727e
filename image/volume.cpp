// SPDX-License-Identifier: MIT
#include "image/volume.hpp"

#include "image/le.hpp"

namespace image {

std::uint32_t root_dir_sectors(const BootSector& boot) {
    return get_le16(boot.root_entries) * std::uint32_t{sizeof(DirEntry)} /
           get_le16(boot.bytes_per_sector);
}

std::uint32_t volume_sectors(const BootSector& boot) {
    const std::uint16_t small = get_le16(boot.total_sectors16);
    return small != 0 ? small : get_le32(boot.total_sectors32);
}

std::uint32_t data_sectors(const BootSector& boot) {
    return volume_sectors(boot) - get_le16(boot.reserved_sectors) -
           std::uint32_t{boot.fat_count} * get_le16(boot.sectors_per_fat) - root_dir_sectors(boot);
}

}  // namespace image
