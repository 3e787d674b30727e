// SPDX-License-Identifier: MIT
// The checked image file against injected failures of the system calls
// below it: what it reports, what it leaves on disk, and how it ends.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/console.hpp"
#include "app/image_file.hpp"
#include "crt.hpp"
#include "fake_os.hpp"
#include "image/write_block.hpp"
#include "test_support.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;

#ifdef EDQUOT
constexpr int quota_exceeded = EDQUOT;
#else
constexpr int quota_exceeded = ENOSPC;  // the Windows C runtime has no errno for quotas
#endif

// A block with newlines and carriage returns in it, which must arrive unchanged.
Bytes sample_block(std::size_t length) {
    Bytes block(length);
    for (std::size_t i = 0; i < length; ++i) {
        block[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 0x0A : i % 3 == 1 ? 0x0D : i);
    }
    return block;
}

// Sends both standard streams of this (child) process into one file, as
// when a user redirects them together.
void capture_console(const std::string& path) {
    const int capture = crt::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
    crt::dup2(capture, crt::stdout_fd);
    crt::dup2(capture, crt::stderr_fd);
    crt::close(capture);
}

class ImageFile : public testing::Test {
  protected:
    void SetUp() override {
        fake_os::reset();
        std::filesystem::current_path(dir.path);
    }
    // A directory in use cannot be removed everywhere.
    void TearDown() override {
        std::filesystem::current_path(std::filesystem::temp_directory_path());
    }

    // Runs `blocks` through a fresh image file and finishes it, in a child
    // process whose two streams go to one capture file; expects the run to end
    // with `status` and returns what the streams received.
    std::string failing_run(const std::vector<Bytes>& blocks,
                            int status = console::status_failure) {
        std::fflush(nullptr);
        EXPECT_EXIT(
            {
                capture_console(console_path);
                if (!app::create_image_file()) {
                    std::_Exit(99);
                }
                for (const Bytes& block : blocks) {
                    write_block(block.data(), block.size());
                }
                app::finish_image_file();
                std::_Exit(0);
            },
            testing::ExitedWithCode(status), "");
        return support::read_text(console_path);
    }

    static std::string write_failure(int error_number) {
        return support::error_line(error_number) + console::write_failed;
    }

    // The program's own text; the end-to-end tests check its bytes.
    static std::string partial_file_kept() {
        char text[sizeof console::partial_file_kept_format + sizeof app::image_file_name];
        std::snprintf(text, sizeof text, console::partial_file_kept_format, app::image_file_name);
        return text;
    }

    support::TempDir dir{"BLANKIMG_TEST_IMAGE_DIR"};
    support::TempDir console_dir{"BLANKIMG_TEST_CONSOLE_DIR"};
    std::string console_path = console_dir / "console.txt";
};

TEST_F(ImageFile, ShortWritesAreResumedUntilTheBlockIsWhole) {
    fake_os::faults.max_write = 7;
    const Bytes first = sample_block(512);
    const Bytes second = sample_block(32);
    ASSERT_TRUE(app::create_image_file());
    write_block(first.data(), first.size());
    write_block(second.data(), second.size());
    app::finish_image_file();

    Bytes want = first;
    want.insert(want.end(), second.begin(), second.end());
    EXPECT_EQ(support::read_file(dir / app::image_file_name), want);
    EXPECT_EQ(fake_os::write_calls, (512 + 6) / 7 + (32 + 6) / 7);
    EXPECT_EQ(fake_os::sync_calls, 1);
}

TEST_F(ImageFile, AnInterruptedWriteIsRetried) {
    fake_os::faults.fail_write_call = 1;
    fake_os::faults.write_errno = EINTR;
    const Bytes block = sample_block(1024);
    ASSERT_TRUE(app::create_image_file());
    write_block(block.data(), block.size());
    app::finish_image_file();
    EXPECT_EQ(support::read_file(dir / app::image_file_name), block);
}

struct WriteFault {
    const char* name;
    long failed_result;  // what the failing call returns
    int write_errno;     // its errno, when it returns -1
    int reported;        // the error the report must name
};

// A call that writes nothing yet gives no error can only mean a full medium.
constexpr WriteFault write_faults[] = {
    {"ErrorIsReported", -1, EIO, EIO},
    {"FileTooLarge", -1, EFBIG, EFBIG},
    {"ZeroCountMeansNoSpace", 0, 0, ENOSPC},
    {"ZeroCountIgnoresStaleErrno", 0, EACCES, ENOSPC},
};

class ImageFileWriteFault : public ImageFile, public testing::WithParamInterface<WriteFault> {};

TEST_P(ImageFileWriteFault, DeletesThePartialFileAndReportsTheTrueReason) {
    const WriteFault& f = GetParam();
    fake_os::faults.fail_write_call = 3;  // after a whole block and part of the next
    fake_os::faults.max_write = 300;
    fake_os::faults.failed_result = f.failed_result;
    fake_os::faults.write_errno = f.write_errno;
    errno = f.write_errno;

    EXPECT_EQ(failing_run({sample_block(512), sample_block(1024)}), write_failure(f.reported));
    EXPECT_TRUE(support::list_dir(dir.path).empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, ImageFileWriteFault, testing::ValuesIn(write_faults),
                         [](const auto& info) { return std::string(info.param.name); });

// The write's reason comes first; then the file that could not go, and why.
TEST_F(ImageFile, AFailedDeleteIsSaidAfterTheTrueReason) {
    fake_os::faults.fail_write_call = 2;
    fake_os::faults.write_errno = ENOSPC;
    fake_os::faults.close_errno = EBADF;
    fake_os::faults.remove_errno = EPERM;
    EXPECT_EQ(failing_run({sample_block(512), sample_block(512)}),
              write_failure(ENOSPC) + support::file_error_line(EPERM, app::image_file_name) +
                  partial_file_kept());
    EXPECT_EQ(support::list_dir(dir.path), std::vector<std::string>{app::image_file_name});
}

// Someone else removed it first: nothing is left, so nothing more is said.
TEST_F(ImageFile, AnAlreadyVanishedFileIsNoFailedDelete) {
    fake_os::faults.fail_write_call = 1;
    fake_os::faults.write_errno = EIO;
    fake_os::faults.remove_errno = ENOENT;
    EXPECT_EQ(failing_run({sample_block(512)}), write_failure(EIO));
}

TEST_F(ImageFile, AFailedFlushToStorageIsAWriteFailure) {
    fake_os::faults.sync_errno = EIO;
    EXPECT_EQ(failing_run({sample_block(512)}), write_failure(EIO));
    EXPECT_TRUE(support::list_dir(dir.path).empty());
}

// The fake stops the child if the descriptor is closed a second time.
TEST_F(ImageFile, AFailedCloseIsAWriteFailureAndClosesOnce) {
    fake_os::faults.close_errno = quota_exceeded;
    EXPECT_EQ(failing_run({sample_block(512)}), write_failure(quota_exceeded));
    EXPECT_TRUE(support::list_dir(dir.path).empty());
}

TEST_F(ImageFile, StandardOutputIsFlushedBeforeTheErrorLine) {
    fake_os::faults.fail_write_call = 1;
    fake_os::faults.write_errno = EIO;
    std::fflush(nullptr);
    EXPECT_EXIT(
        {
            capture_console(console_path);
            std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);  // as when writing to a file
            std::fputs("earlier\n", stdout);
            if (app::create_image_file()) {
                write_block(sample_block(32).data(), 32);
            }
            std::_Exit(0);
        },
        testing::ExitedWithCode(console::status_failure), "");
    EXPECT_EQ(support::read_text(console_path), "earlier\n" + write_failure(EIO));
}

// An interrupt at each moment of a run over three blocks. Until the close
// has succeeded it takes the file with it; after that the image is whole and
// stays. Either way the run ends as interrupted, without another word.
struct InterruptCase {
    const char* name;
    fake_os::Moment moment;
    int write_call;  // with Moment::write
    bool image_kept;
};

constexpr InterruptCase interrupt_cases[] = {
    {"AtTheCreation", fake_os::Moment::create, 0, false},
    {"AtTheFirstWrite", fake_os::Moment::write, 1, false},
    {"AtAMiddleWrite", fake_os::Moment::write, 2, false},
    {"AtTheLastWrite", fake_os::Moment::write, 3, false},
    {"AtTheFlush", fake_os::Moment::sync, 0, false},
    {"AtTheClose", fake_os::Moment::close, 0, true},
};

class ImageFileInterrupt : public ImageFile, public testing::WithParamInterface<InterruptCase> {};

TEST_P(ImageFileInterrupt, LeavesNoPartialImage) {
    fake_os::faults.interrupt_at = GetParam().moment;
    fake_os::faults.interrupt_write_call = GetParam().write_call;
    EXPECT_EQ(failing_run({sample_block(512), sample_block(1024), sample_block(32)},
                          fake_os::interrupted_status),
              "");
    if (GetParam().image_kept) {
        EXPECT_EQ(support::read_file(dir / app::image_file_name).size(), 512u + 1024u + 32u);
    } else {
        EXPECT_TRUE(support::list_dir(dir.path).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Moments, ImageFileInterrupt, testing::ValuesIn(interrupt_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The name was taken by another: the interrupt that comes while the creation
// fails must not take that file.
TEST_F(ImageFile, AnInterruptAtARefusedCreationLeavesTheOtherFile) {
    const Bytes theirs = sample_block(100);
    support::write_file(dir / app::image_file_name, theirs);
    fake_os::faults.interrupt_at = fake_os::Moment::create;
    EXPECT_EXIT(
        {
            (void)app::create_image_file();
            std::_Exit(0);
        },
        testing::ExitedWithCode(fake_os::interrupted_status), "");
    EXPECT_EQ(support::read_file(dir / app::image_file_name), theirs);
}

// During the clean-up after a failed write the interrupt waits until the file
// is gone, then ends the run before the report.
TEST_F(ImageFile, AnInterruptDuringTheCleanUpEndsTheRunQuietly) {
    fake_os::faults.fail_write_call = 1;
    fake_os::faults.write_errno = EIO;
    fake_os::faults.interrupt_at = fake_os::Moment::remove;
    std::fflush(nullptr);
    EXPECT_EXIT(
        {
            capture_console(console_path);
            if (app::create_image_file()) {
                write_block(sample_block(32).data(), 32);
            }
            std::_Exit(0);
        },
        testing::ExitedWithCode(fake_os::interrupted_status), "");
    EXPECT_EQ(support::read_text(console_path), "");
    EXPECT_TRUE(support::list_dir(dir.path).empty());
}

}  // namespace
