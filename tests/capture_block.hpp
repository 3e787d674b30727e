// SPDX-License-Identifier: MIT
// Stands in for the image file in builder tests: keeps every block in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace capture {

extern std::vector<std::uint8_t> bytes;   // everything written, in order
extern std::vector<std::size_t> lengths;  // the length of each write

void reset();

}  // namespace capture
