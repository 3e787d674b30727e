// SPDX-License-Identifier: MIT
// Writes the whole OS-ROM image, first byte to last, through write_block.
#pragma once

#include "image/dos_stamp.hpp"

namespace image {

// Both directory entries carry `stamp`, the run's single moment.
void build_image(DosStamp stamp);

}  // namespace image
