// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <ctime>

#include "image/dos_stamp.hpp"

namespace {

struct StampCase {
    const char* name;
    int year, month, day, hour, minute, second;
    std::uint16_t time, date;
};

// Expected values are worked out by hand from the bit layout.
constexpr StampCase stamp_cases[] = {
    {"December2002", 2002, 12, 10, 13, 49, 16, 0x6E28, 0x2D8A},
    {"OddSecondRoundsDown", 2002, 12, 10, 13, 49, 59, 0x6E3D, 0x2D8A},
    {"Epoch1980", 1980, 1, 1, 0, 0, 0, 0x0000, 0x0021},
    {"Last2107", 2107, 12, 31, 23, 59, 59, 0xBF7D, 0xFF9F},
    {"LeapSecond", 2016, 12, 31, 23, 59, 60, 0xBF7E, 0x499F},
    {"LeapDay", 2024, 2, 29, 12, 0, 0, 0x6000, 0x585D},
    {"BytesOf0x0A", 1985, 5, 10, 0, 0, 20, 0x000A, 0x0AAA},
    // Nothing is clamped: a year outside the field wraps.
    {"Year2108Wraps", 2108, 1, 1, 0, 0, 0, 0x0000, 0x0021},
    {"Year1979Wraps", 1979, 12, 31, 23, 59, 58, 0xBF7D, 0xFF9F},
};

class DosStampPacking : public testing::TestWithParam<StampCase> {};

TEST_P(DosStampPacking, FromCalendarFields) {
    const StampCase& c = GetParam();
    const image::DosStamp stamp =
        image::pack_dos_stamp(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_EQ(stamp.time, c.time);
    EXPECT_EQ(stamp.date, c.date);
}

TEST_P(DosStampPacking, FromBrokenDownTime) {
    const StampCase& c = GetParam();
    std::tm local{};
    local.tm_year = c.year - 1900;
    local.tm_mon = c.month - 1;
    local.tm_mday = c.day;
    local.tm_hour = c.hour;
    local.tm_min = c.minute;
    local.tm_sec = c.second;
    const image::DosStamp stamp = image::dos_stamp_from_tm(local);
    EXPECT_EQ(stamp.time, c.time);
    EXPECT_EQ(stamp.date, c.date);
}

INSTANTIATE_TEST_SUITE_P(Dates, DosStampPacking, testing::ValuesIn(stamp_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DosStamp, EpochStampIsFirstOfJanuary1980) {
    EXPECT_EQ(image::dos_epoch_stamp.time, 0x0000);
    EXPECT_EQ(image::dos_epoch_stamp.date, 0x0021);
}

TEST(DosStamp, LargestYearTheLibraryReportsDoesNotOverflow) {
    std::tm local{};
    local.tm_year = std::numeric_limits<int>::max();
    local.tm_mday = 1;
    const image::DosStamp stamp = image::dos_stamp_from_tm(local);  // UBSan checks the sums
    EXPECT_EQ(stamp.date & 0x1FF, 1 * 32 + 1) << "month and day bits are unaffected";
}

}  // namespace
