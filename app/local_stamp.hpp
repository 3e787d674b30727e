// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

#include "image/dos_stamp.hpp"

namespace app {

// The stamp of `now` in local time, as std::time returned it. A clock that
// could not be read (-1), or a time the platform cannot convert, yields the
// earliest stamp FAT can hold rather than garbage.
image::DosStamp local_stamp(std::time_t now);

}  // namespace app
