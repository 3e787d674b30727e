// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "image/fat12.hpp"

namespace {

using Table = std::array<std::uint8_t, 1024>;
constexpr std::size_t last_entry = 681;  // the last entry whose two bytes fit in 1024

TEST(Fat12, PacksTwoEntriesIntoThreeBytes) {
    Table table{};
    image::fat12_set(table.data(), 0, 0x123);
    image::fat12_set(table.data(), 1, 0x456);
    image::fat12_set(table.data(), 2, 0xABC);
    image::fat12_set(table.data(), 3, 0xDEF);
    EXPECT_EQ(table[0], 0x23);
    EXPECT_EQ(table[1], 0x61);
    EXPECT_EQ(table[2], 0x45);
    EXPECT_EQ(table[3], 0xBC);
    EXPECT_EQ(table[4], 0xFA);
    EXPECT_EQ(table[5], 0xDE);
    EXPECT_EQ(table[6], 0x00);
}

// Setting one entry must keep both neighbours, whose nibbles share its bytes,
// on a background of ones and of zeros alike.
class Fat12Neighbours : public testing::TestWithParam<std::size_t> {};

TEST_P(Fat12Neighbours, SetKeepsNeighboursAndGetReadsBack) {
    const std::size_t n = GetParam();
    for (const std::uint8_t background : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
        Table table;
        table.fill(background);
        const std::uint16_t before = image::fat12_get(table.data(), n - 1);
        const std::uint16_t after = image::fat12_get(table.data(), n + 1);
        for (const std::uint16_t value : std::array<std::uint16_t, 4>{0x000, 0xFFF, 0xA5A, 0x5A5}) {
            image::fat12_set(table.data(), n, value);
            EXPECT_EQ(image::fat12_get(table.data(), n), value) << "entry " << n;
            EXPECT_EQ(image::fat12_get(table.data(), n - 1), before) << "entry " << n - 1;
            EXPECT_EQ(image::fat12_get(table.data(), n + 1), after) << "entry " << n + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EvenAndOdd, Fat12Neighbours, testing::Values(1, 2, 3, 76, 77, 680));

TEST(Fat12, StoresOnlyTheLowTwelveBits) {
    Table table{};
    image::fat12_set(table.data(), 4, 0xF123);
    image::fat12_set(table.data(), 5, 0xF456);
    EXPECT_EQ(image::fat12_get(table.data(), 4), 0x123);
    EXPECT_EQ(image::fat12_get(table.data(), 5), 0x456);
    EXPECT_EQ(image::fat12_get(table.data(), 3), 0x000);
    EXPECT_EQ(image::fat12_get(table.data(), 6), 0x000);
}

TEST(Fat12, EveryEntryOfATableRoundTrips) {
    Table table{};
    const auto value_of = [](std::size_t n) {
        return static_cast<std::uint16_t>(n * 2654435761u >> 7 & 0xFFF);
    };
    for (std::size_t n = 0; n <= last_entry; ++n) {
        image::fat12_set(table.data(), n, value_of(n));
    }
    for (std::size_t n = 0; n <= last_entry; ++n) {
        ASSERT_EQ(image::fat12_get(table.data(), n), value_of(n)) << "entry " << n;
    }
    EXPECT_EQ(table[1023], 0x00) << "entry 681 ends at byte 1022";
}

}  // namespace
