#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "app/os.hpp"
#include "test_support.hpp"

namespace {

bool is_null_device(int fd) {
    struct stat null_info {};
    struct stat fd_info {};
    return ::stat("/dev/null", &null_info) == 0 && ::fstat(fd, &fd_info) == 0 &&
           S_ISCHR(fd_info.st_mode) && fd_info.st_rdev == null_info.st_rdev;
}

// Exit codes of the child, one for each thing that can go wrong.
enum Outcome {
    ready = 0,
    not_prepared = 2,
    stream_not_null = 3,
    image_on_stream = 4,
    signal_kept = 5
};

TEST(PrepareProcess, ClosedStandardStreamsCannotBecomeTheImage) {
    const support::TempDir dir;
    EXPECT_EXIT(
        {
            ::close(STDIN_FILENO);
            ::close(STDOUT_FILENO);
            ::close(STDERR_FILENO);
            if (!os::prepare_process()) {
                std::_Exit(not_prepared);
            }
            for (int fd = 0; fd <= 2; ++fd) {
                if (!is_null_device(fd)) {
                    std::_Exit(stream_not_null);
                }
            }
            if (::chdir(dir.path.c_str()) != 0 || os::create_new("BLANKIMG.ROM") <= STDERR_FILENO) {
                std::_Exit(image_on_stream);
            }
            std::_Exit(ready);
        },
        testing::ExitedWithCode(ready), "");
}

TEST(PrepareProcess, OpenStreamsAreLeftAlone) {
    EXPECT_EXIT(
        {
            struct stat before {};
            ::fstat(STDERR_FILENO, &before);
            if (!os::prepare_process()) {
                std::_Exit(not_prepared);
            }
            struct stat after {};
            ::fstat(STDERR_FILENO, &after);
            std::_Exit(before.st_ino == after.st_ino && before.st_dev == after.st_dev
                           ? ready
                           : stream_not_null);
        },
        testing::ExitedWithCode(ready), "");
}

TEST(PrepareProcess, AFileSizeLimitNoLongerKills) {
    EXPECT_EXIT(
        {
            if (!os::prepare_process()) {
                std::_Exit(not_prepared);
            }
            struct sigaction action {};
            ::sigaction(SIGXFSZ, nullptr, &action);
            std::_Exit(action.sa_handler == SIG_IGN ? ready : signal_kept);
        },
        testing::ExitedWithCode(ready), "");
}

}  // namespace
