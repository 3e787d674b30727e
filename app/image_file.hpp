// SPDX-License-Identifier: MIT
// The one file a run produces. It is created new or not at all, every block
// is written whole or the partial file is deleted, and success means the
// data reached storage. Blocks arrive through write_block
// (image/write_block.hpp), which this file provides.
#pragma once

namespace app {

// A plain 8.3 name: the file goes to the current working directory.
inline constexpr char image_file_name[] = "BLANKIMG.ROM";

// Creates the image file, never replacing any existing entry of that name.
// On failure nothing is changed and errno holds the reason.
bool create_image_file();

// Flushes the image to storage and closes it. On failure it deletes the
// file, reports the write failure and ends the process, like write_block.
void finish_image_file();

}  // namespace app
