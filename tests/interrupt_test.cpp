// SPDX-License-Identifier: MIT
// The real program interrupted, and failing where only the system can make
// it fail: strace delivers a signal, or an error, at one exact call of the
// image, and the directory afterwards holds the whole image or nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "expected_console.hpp"
#include "expected_image.hpp"
#include "run_support.hpp"
#include "test_support.hpp"

namespace {

using expected::Bytes;
using process::Outcome;

constexpr char image_name[] = "BLANKIMG.ROM";
constexpr int image_write_count = 1127;

class Interrupted : public testing::Test {
  protected:
    void SetUp() override {
        if (!run::have_faketime() || !run::have_strace()) {
            GTEST_SKIP() << "needs libfaketime, to fix the stamp, and strace, to place the fault";
        }
    }

    // blankimg under strace, with each of `injects` applied to the image's calls alone.
    Outcome run_injected(const std::vector<std::string>& injects,
                         const process::Launch& launch) const {
        std::vector<std::string> options = run::image_calls(launch);
        for (const std::string& inject : injects) {
            options.insert(options.end(), {"-e", "inject=" + inject});
        }
        return process::run(run::traced(launch, trace_dir / "trace", options));
    }
    Outcome run_injected(const std::string& inject) const {
        return run_injected({inject}, run::blankimg_in(work.path));
    }

    std::vector<std::string> left() const { return support::list_dir(work.path); }

    void expect_exact_image() const {
        EXPECT_EQ(run::image_difference(work / image_name, run::december_2002_stamp), "");
    }

    support::TempDir work;
    support::TempDir trace_dir;
};

// One call of the image's, and whether an interrupt there may leave the
// image: only once its close has succeeded is it whole and kept.
struct Moment {
    const char* name;
    const char* call;
    int when;
    bool image_kept;
};

const Moment moments[] = {
    {"Creation", "openat", 1, false},
    {"FirstWrite", "write", 1, false},
    {"MiddleWrite", "write", image_write_count / 2, false},
    {"LastWrite", "write", image_write_count, false},
    {"Flush", "fsync", 1, false},
    {"Close", "close", 1, true},
};

const int interrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

class InterruptedAt : public Interrupted,
                      public testing::WithParamInterface<std::tuple<Moment, int>> {};

TEST_P(InterruptedAt, LeavesTheWholeImageOrNothing) {
    const auto& [moment, signal] = GetParam();
    const Outcome outcome =
        run_injected(std::string(moment.call) + ":signal=" + std::to_string(signal) +
                     ":when=" + std::to_string(moment.when));
    EXPECT_EQ(outcome.signal, signal) << "it must end as the signal ends it";
    EXPECT_EQ(outcome.out, expected::banner_and_start()) << "nothing more is said";
    EXPECT_EQ(outcome.err, "");
    if (moment.image_kept) {
        EXPECT_EQ(left(), std::vector<std::string>{image_name});
        expect_exact_image();
    } else {
        EXPECT_EQ(left(), std::vector<std::string>{}) << "a partial image was left";
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, InterruptedAt,
                         testing::Combine(testing::ValuesIn(moments),
                                          testing::ValuesIn(interrupts)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    sigabbrev_np(std::get<1>(info.param));
                         });

// The name is another's: the signal that comes while the creation is refused
// ends the run, and that file stays as it was.
TEST_F(Interrupted, AtARefusedCreationLeavesTheOtherFile) {
    const Bytes theirs(3000, 0x5A);
    support::write_file(work / image_name, theirs);
    const Outcome outcome = run_injected("openat:signal=INT:when=1");
    EXPECT_EQ(outcome.signal, SIGINT);
    // strace notes how it resolved the name that exists; the program says nothing.
    EXPECT_EQ(outcome.err.find("BLANKIMG: "), std::string::npos) << outcome.err;
    EXPECT_EQ(support::read_file(work / image_name), theirs);
}

// Under nohup the hang-up is ignored, and the run goes on to a whole image.
TEST_F(Interrupted, AnIgnoredHangUpDoesNotStopTheRun) {
    process::Launch launch = run::blankimg_in(work.path);
    launch.ignored_signals = {SIGHUP};
    const Outcome outcome = run_injected({"write:signal=HUP:when=2"}, launch);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::completed());
    expect_exact_image();
}

// Failures of the flush and of the close, which no ordinary medium gives on
// demand: the write-failure report and nothing left, never the success text.
struct LateFault {
    const char* name;
    const char* inject;
};

const LateFault late_faults[] = {
    {"Flush", "fsync:error=EIO"},
    {"Close", "close:error=EIO"},
};

class FailingAt : public Interrupted, public testing::WithParamInterface<LateFault> {};

TEST_P(FailingAt, ReportsTheWriteFailureAndLeavesNothing) {
    const Outcome outcome = run_injected(GetParam().inject);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, support::error_line(EIO));
    EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::write_failed());
    EXPECT_EQ(left(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Calls, FailingAt, testing::ValuesIn(late_faults),
                         [](const auto& info) { return std::string(info.param.name); });

// The delete after a failed write is refused (an append-only directory, a
// file system gone read-only): the report says so, after the true reason.
class FailingDelete : public Interrupted, public testing::WithParamInterface<int> {};

TEST_P(FailingDelete, SaysThePartialFileIsStillThere) {
    const int refusal = GetParam();
    const Outcome outcome = run_injected(
        {"write:error=ENOSPC:when=3", std::string("unlink:error=") + strerrorname_np(refusal)},
        run::blankimg_in(work.path));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              support::error_line(ENOSPC) + support::file_error_line(refusal, image_name));
    EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::write_failed() +
                               expected::partial_file_kept());
    EXPECT_EQ(left(), std::vector<std::string>{image_name});
}

INSTANTIATE_TEST_SUITE_P(Errors, FailingDelete, testing::Values(EPERM, EROFS),
                         [](const auto& info) { return std::string(strerrorname_np(info.param)); });

// Real signals, untraced, at random moments of real runs: whatever moment
// they hit, no partial image survives. The seed is printed to replay a run.
TEST(InterruptedAtRandom, NeverLeavesAPartialImage) {
    constexpr int runs = 60;
    constexpr long longest_delay_us = 6000;
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    int ended_by_signal = 0;
    for (int i = 0; i < runs; ++i) {
        const support::TempDir work;
        process::Launch launch = run::blankimg_in(work.path, run::real_clock);
        launch.kill_signal = interrupts[random() % std::size(interrupts)];
        launch.kill_after_us = static_cast<long>(random() % longest_delay_us);
        const Outcome outcome = process::run(launch);
        SCOPED_TRACE("signal " + std::to_string(launch.kill_signal) + " after " +
                     std::to_string(launch.kill_after_us) + " us");
        if (outcome.signal != 0) {
            ++ended_by_signal;
            EXPECT_EQ(outcome.signal, launch.kill_signal);
        } else {
            EXPECT_EQ(outcome.status, 0);
        }
        const std::vector<std::string> names = support::list_dir(work.path);
        ASSERT_TRUE(names.empty() || names == std::vector<std::string>{image_name});
        if (!names.empty()) {
            ASSERT_EQ(run::image_difference(work / image_name), "") << "a partial image was left";
        }
    }
    RecordProperty("ended_by_signal", ended_by_signal);
}

// An unread standard output neither kills the run nor hides its reason.
TEST(UnreadConsole, StillGivesTheReasonAndTheStatus) {
    const support::TempDir work;
    process::Launch launch = run::blankimg_in(work.path, run::real_clock);
    launch.unread_stdout = true;
    const Outcome made = process::run(launch);
    EXPECT_EQ(made.signal, 0);
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(run::image_difference(work / image_name), "");

    const Outcome refused = process::run(launch);
    EXPECT_EQ(refused.signal, 0);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, support::error_line(EEXIST));
}

// The mode is read and write for all, less the umask.
struct MaskCase {
    const char* name;
    int umask;
    mode_t mode;
};

class ImageMode : public testing::TestWithParam<MaskCase> {};

TEST_P(ImageMode, IsReadWriteLessTheUmask) {
    const support::TempDir work;
    process::Launch launch = run::blankimg_in(work.path, run::real_clock);
    launch.umask = GetParam().umask;
    ASSERT_EQ(process::run(launch).status, 0);
    struct stat info {};
    ASSERT_EQ(::stat((work / image_name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Masks, ImageMode,
                         testing::Values(MaskCase{"Umask022", 022, 0644},
                                         MaskCase{"Umask000", 0, 0666},
                                         MaskCase{"Umask077", 077, 0600}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
