// SPDX-License-Identifier: MIT
// What the end-to-end tests share: how to start the real program under a
// chosen clock.
#pragma once

#include <string>
#include <vector>

#include "image/dos_stamp.hpp"
#include "process.hpp"

namespace run {

// A clock for the child, through libfaketime; an empty `faketime` leaves the
// real clock.
struct Clock {
    std::string faketime{};  // FAKETIME: a frozen time, or an offset such as "+10s"
    std::string format{};    // FAKETIME_FMT, how `faketime` is spelt; empty: the default
    std::string tz = "UTC0";
};

inline const Clock december_2002{"2002-12-10 13:49:16"};
inline constexpr image::DosStamp december_2002_stamp{0x6E28, 0x2D8A};
inline const Clock real_clock{};

bool have_faketime();

// A launch of blankimg in `dir` under `clock`, in the C locale.
process::Launch blankimg_in(const std::string& dir, const Clock& clock = december_2002);

// Adds `option` to the child's ASAN_OPTIONS.
void add_asan_option(process::Launch& launch, const std::string& option);

bool have_strace();

// Empty when the file at `path` is the whole image with `stamp`; otherwise
// where it first differs.
std::string image_difference(const std::string& path, image::DosStamp stamp);

// The same at whatever stamp the file's entries carry: for runs on the real
// clock, or interrupted at a moment that is not known.
std::string image_difference(const std::string& path);

// `launch` run under strace with `options`, writing its trace to `trace`.
// Options name the image's calls alone when they add `image_calls(launch)`.
process::Launch traced(process::Launch launch, const std::string& trace,
                       const std::vector<std::string>& options);

// strace's options that restrict tracing and fault injection to the calls
// that concern BLANKIMG.ROM in the launch's directory.
std::vector<std::string> image_calls(const process::Launch& launch);

}  // namespace run
