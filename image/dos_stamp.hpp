// SPDX-License-Identifier: MIT
// The packed date and time of FAT directory entries.
#pragma once

#include <cstdint>
#include <ctime>

namespace image {

struct DosStamp {
    std::uint16_t time;  // bits 15-11 hour, 10-5 minute, 4-0 seconds / 2
    std::uint16_t date;  // bits 15-9 years since 1980, 8-5 month, 4-0 day
};

inline constexpr std::int64_t dos_hour_weight = 2048;     // hour starts at bit 11 of time
inline constexpr std::int64_t dos_minute_weight = 32;     // minute starts at bit 5 of time
inline constexpr std::int64_t dos_second_resolution = 2;  // time counts two-second units
inline constexpr std::int64_t dos_year_weight = 512;      // year starts at bit 9 of date
inline constexpr std::int64_t dos_month_weight = 32;      // month starts at bit 5 of date
inline constexpr std::int64_t dos_epoch_year = 1980;      // year 0 of the date field
inline constexpr std::int64_t dos_field_mask = 0xFFFF;    // both fields are 16 bits on disk

// Packs calendar fields, month and day counted from 1. Nothing is clamped:
// each sum keeps its low 16 bits. The fields are wide so that no year a C
// library can report overflows the sums.
constexpr DosStamp pack_dos_stamp(std::int64_t year, std::int64_t month, std::int64_t day,
                                  std::int64_t hour, std::int64_t minute, std::int64_t second) {
    const std::int64_t time =
        hour * dos_hour_weight + minute * dos_minute_weight + second / dos_second_resolution;
    const std::int64_t date =
        (year - dos_epoch_year) * dos_year_weight + month * dos_month_weight + day;
    return DosStamp{static_cast<std::uint16_t>(time & dos_field_mask),
                    static_cast<std::uint16_t>(date & dos_field_mask)};
}

// Packs a broken-down time as the C library fills it.
DosStamp dos_stamp_from_tm(const std::tm& local);

// 1980-01-01 00:00:00, the earliest moment a FAT stamp can hold.
inline constexpr DosStamp dos_epoch_stamp = pack_dos_stamp(dos_epoch_year, 1, 1, 0, 0, 0);

}  // namespace image
