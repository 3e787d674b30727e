// SPDX-License-Identifier: MIT
#include "capture_block.hpp"

#include <stdexcept>

#include "expected_image.hpp"
#include "image/write_block.hpp"

namespace capture {

std::vector<std::uint8_t> bytes;
std::vector<std::size_t> lengths;

void reset() {
    bytes.clear();
    lengths.clear();
}

}  // namespace capture

// A builder that misreads its own fields (a byte-order fault) writes on and
// on: stop it while the test can still fail, not when memory runs out.
void write_block(const std::uint8_t* bytes, std::size_t length) {
    if (capture::bytes.size() + length > 2 * expected::image_size) {
        throw std::runtime_error("the builder wrote past twice the image's size");
    }
    capture::bytes.insert(capture::bytes.end(), bytes, bytes + length);
    capture::lengths.push_back(length);
}
