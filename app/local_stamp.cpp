// SPDX-License-Identifier: MIT
#include "app/local_stamp.hpp"

#include "app/os.hpp"

namespace app {

namespace {
constexpr std::time_t clock_unavailable = static_cast<std::time_t>(-1);  // std::time's failure
}

image::DosStamp local_stamp(std::time_t now) {
    std::tm local{};
    if (now == clock_unavailable || !os::local_time(now, local)) {
        return image::dos_epoch_stamp;
    }
    return image::dos_stamp_from_tm(local);
}

}  // namespace app
