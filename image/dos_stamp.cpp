// SPDX-License-Identifier: MIT
#include "image/dos_stamp.hpp"

namespace image {

namespace {
constexpr std::int64_t tm_year_base = 1900;  // tm_year counts years from 1900
constexpr std::int64_t tm_month_base = 1;    // tm_mon counts months from 0
}  // namespace

DosStamp dos_stamp_from_tm(const std::tm& local) {
    return pack_dos_stamp(tm_year_base + local.tm_year, tm_month_base + local.tm_mon, local.tm_mday,
                          local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace image
