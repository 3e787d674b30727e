// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "app/local_stamp.hpp"
#include "crt.hpp"

namespace {

constexpr std::time_t december_2002_utc = 1039528156;  // 2002-12-10 13:49:16 UTC

class LocalStamp : public testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_tz = tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
    }
    void TearDown() override {
        if (saved_tz) {
            crt::set_env("TZ", *saved_tz);
        } else {
            crt::unset_env("TZ");
        }
        crt::tzset();
    }
    static void use_zone(const char* tz) { crt::set_env("TZ", tz); }

    std::optional<std::string> saved_tz;
};

TEST_F(LocalStamp, UsesLocalTimeNotUniversalTime) {
    use_zone("UTC0");
    EXPECT_EQ(app::local_stamp(december_2002_utc).time, 0x6E28);
    use_zone("JST-9");  // 22:49:16 the same day
    const image::DosStamp tokyo = app::local_stamp(december_2002_utc);
    EXPECT_EQ(tokyo.time, image::pack_dos_stamp(2002, 12, 10, 22, 49, 16).time);
    EXPECT_EQ(tokyo.date, 0x2D8A);
}

TEST_F(LocalStamp, LocalDateCanDifferFromTheUniversalDate) {
    use_zone("EST5");  // 2002-12-10 08:49:16, then a day back across midnight
    EXPECT_EQ(app::local_stamp(december_2002_utc - 9 * 3600).date,
              image::pack_dos_stamp(2002, 12, 9, 0, 0, 0).date);
}

TEST_F(LocalStamp, AnUnreadableClockGivesTheEpochStamp) {
    use_zone("UTC0");
    const std::time_t unconvertible = std::numeric_limits<std::time_t>::max();
    for (const std::time_t now : {static_cast<std::time_t>(-1), unconvertible}) {
        const image::DosStamp stamp = app::local_stamp(now);
        EXPECT_EQ(stamp.time, 0x0000) << now;
        EXPECT_EQ(stamp.date, 0x0021) << now;
    }
}

}  // namespace
