// SPDX-License-Identifier: MIT
// Where the builder's blocks go. The program that links the builder supplies
// this function; it returns only once all `length` bytes are appended to the
// image, and does not return at all if they cannot be.
#pragma once

#include <cstddef>
#include <cstdint>

void write_block(const std::uint8_t* bytes, std::size_t length);
