// SPDX-License-Identifier: MIT
#include "capture_block.hpp"

#include "image/write_block.hpp"

namespace capture {

std::vector<std::uint8_t> bytes;
std::vector<std::size_t> lengths;

void reset() {
    bytes.clear();
    lengths.clear();
}

}  // namespace capture

void write_block(const std::uint8_t* bytes, std::size_t length) {
    capture::bytes.insert(capture::bytes.end(), bytes, bytes + length);
    capture::lengths.push_back(length);
}
