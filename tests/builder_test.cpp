// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "capture_block.hpp"
#include "expected_image.hpp"
#include "image/builder.hpp"
#include "test_support.hpp"

namespace {

using expected::Bytes;

constexpr image::DosStamp december_2002{0x6E28, 0x2D8A};  // 13:49:16, 10 December 2002

Bytes built(image::DosStamp stamp) {
    capture::reset();
    image::build_image(stamp);
    return capture::bytes;
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t length) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

class BuilderImage : public testing::TestWithParam<image::DosStamp> {};

TEST_P(BuilderImage, MatchesTheLayoutByteForByte) {
    const Bytes image = built(GetParam());
    const Bytes want = expected::rom_image(GetParam());
    ASSERT_EQ(image.size(), want.size());
    const auto [got_at, want_at] = std::mismatch(image.begin(), image.end(), want.begin());
    EXPECT_TRUE(got_at == image.end())
        << "first difference at byte 0x" << std::hex << (got_at - image.begin());
}

INSTANTIATE_TEST_SUITE_P(Stamps, BuilderImage,
                         testing::Values(december_2002, image::DosStamp{0x0000, 0x0021},
                                         image::DosStamp{0xBF7D, 0xFF9F},
                                         image::DosStamp{0x000A, 0x0AAA}));

TEST(Builder, WritesTheLayoutsBlocksInOrder) {
    built(december_2002);
    std::vector<std::size_t> want{512, 1024, 1024};
    want.insert(want.end(), 112, 32);
    want.insert(want.end(), 500 + 512, 512);
    EXPECT_EQ(capture::lengths, want);
    EXPECT_EQ(capture::lengths.size(), 1127u);
}

// The byte strings that the format's description quotes, checked against the
// builder itself rather than the expected image.
TEST(Builder, QuotedBytesOfTheFormat) {
    const Bytes image = built(december_2002);
    EXPECT_EQ(slice(image, 0, 28), expected::hex("49 50 4C 34 20 4F 53 52 4F 4D 20 00 02 02 01 00"
                                                 "02 70 00 00 02 FB 02 00 10 00 02 00"));
    EXPECT_EQ(slice(image, 28, 11), expected::hex("00 00 00 00 00 00 00 00 00 00 29"));
    EXPECT_EQ(slice(image, 43, 19), expected::hex("4E 4F 20 4E 41 4D 45 20 20 20 20"
                                                  "46 41 54 31 32 20 20 20"));
    EXPECT_EQ(slice(image, 510, 2), expected::hex("00 00")) << "no boot-sector end marker";

    const Bytes fat = slice(image, expected::fat1_offset, expected::fat_bytes);
    EXPECT_EQ(slice(fat, 0, 12), expected::hex("FB FF FF 03 40 00 05 60 00 07 80 00"));
    EXPECT_EQ(slice(fat, 114, 3), expected::hex("4D F0 FF"));
    EXPECT_EQ(slice(fat, 117, 907), Bytes(907, 0x00));
    EXPECT_EQ(slice(image, expected::fat2_offset, expected::fat_bytes), fat);

    EXPECT_EQ(slice(image, 0xA20, 32), expected::hex("44 55 4D 59 46 49 4C 45 42 49 4E 02"
                                                     "00 00 00 00 00 00 00 00 00 00"
                                                     "28 6E 8A 2D 02 00 00 30 01 00"));
}

TEST(Builder, TwoStampsDifferOnlyInTheEntriesTimeAndDate) {
    const Bytes first = built(december_2002);
    const Bytes second = built(image::DosStamp{0xFFFF, 0xFFFF});
    ASSERT_EQ(first.size(), second.size());
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] != second[i]) {
            differing.push_back(i);
        }
    }
    EXPECT_EQ(differing,
              (std::vector<std::size_t>{0xA16, 0xA17, 0xA18, 0xA19, 0xA36, 0xA37, 0xA38, 0xA39}));
}

}  // namespace
