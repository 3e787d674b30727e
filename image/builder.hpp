// Writes the whole OS-ROM image, first byte to last, through write_block.
#pragma once

#include "image/dos_stamp.hpp"

namespace image {

inline constexpr std::size_t image_bytes = 524288;  // 512 volume sectors and 512 of tail

// Both directory entries carry `stamp`, the run's single moment.
void build_image(DosStamp stamp);

}  // namespace image
