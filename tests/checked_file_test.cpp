// SPDX-License-Identifier: MIT
// The builder's blocks through the checked file and the real system layer,
// with a stamp whose bytes are newlines: a file opened in text mode would
// grow by a carriage return before each of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/image_file.hpp"
#include "expected_image.hpp"
#include "image/builder.hpp"
#include "test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr image::DosStamp newline_stamp{0x000A, 0x0AAA};  // 00:00:20, 10 May 1985

TEST(CheckedFile, WritesTheImageUnchangedThroughTheRealSystem) {
    const support::TempDir dir;
    fs::current_path(dir.path);
    ASSERT_TRUE(app::create_image_file());
    image::build_image(newline_stamp);
    app::finish_image_file();
    fs::current_path(fs::temp_directory_path());

    const expected::Bytes image = support::read_file(dir / app::image_file_name);
    EXPECT_EQ(image.size(), expected::image_size);
    EXPECT_EQ(support::difference(image, expected::rom_image(newline_stamp)), "");
}

TEST(CheckedFile, AnExistingFileIsNeitherOpenedNorChanged) {
    const support::TempDir dir;
    const expected::Bytes earlier{0x0A, 0x0D, 0x0A};
    support::write_file(dir / app::image_file_name, earlier);
    fs::current_path(dir.path);
    errno = 0;
    EXPECT_FALSE(app::create_image_file());
    EXPECT_EQ(errno, EEXIST);
    fs::current_path(fs::temp_directory_path());
    EXPECT_EQ(support::read_file(dir / app::image_file_name), earlier);
}

}  // namespace
