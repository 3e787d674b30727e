// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "app/os.hpp"
#include "crt.hpp"
#include "test_support.hpp"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

using Identity = std::pair<std::uintmax_t, std::uintmax_t>;
constexpr Identity no_identity{0, 0};

#ifdef _WIN32
bool is_null_device(int fd) {
    const intptr_t handle = ::_get_osfhandle(fd);
    return handle != -1 && ::GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_CHAR;
}

// What the descriptor refers to, or {0, 0}: the system's handle behind it.
Identity identity(int fd) {
    const intptr_t handle = ::_get_osfhandle(fd);
    return {handle == -1 ? 0 : static_cast<std::uintmax_t>(handle), 0};
}
#else
bool is_null_device(int fd) {
    struct stat null_info {};
    struct stat fd_info {};
    return ::stat("/dev/null", &null_info) == 0 && ::fstat(fd, &fd_info) == 0 &&
           S_ISCHR(fd_info.st_mode) && fd_info.st_rdev == null_info.st_rdev;
}

// What the descriptor refers to, or {0, 0}: its device and inode.
Identity identity(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return {0, 0};
    }
    return {static_cast<std::uintmax_t>(info.st_dev), static_cast<std::uintmax_t>(info.st_ino)};
}
#endif

// Exit codes of the child, one for each thing that can go wrong.
enum Outcome {
    ready = 0,
    not_prepared = 2,
    stream_not_null = 3,
    image_on_stream = 4,
    signal_kept = 5
};

constexpr int stdin_fd = 0;

TEST(PrepareProcess, ClosedStandardStreamsCannotBecomeTheImage) {
    const support::TempDir dir{"BLANKIMG_TEST_DIR"};
    EXPECT_EXIT(
        {
            crt::close(stdin_fd);
            crt::close(crt::stdout_fd);
            crt::close(crt::stderr_fd);
            if (!os::prepare_process()) {
                std::_Exit(not_prepared);
            }
            for (int fd = stdin_fd; fd <= crt::stderr_fd; ++fd) {
                if (!is_null_device(fd)) {
                    std::_Exit(stream_not_null);
                }
            }
            std::filesystem::current_path(dir.path);
            if (os::create_new("BLANKIMG.ROM") <= crt::stderr_fd) {
                std::_Exit(image_on_stream);
            }
            std::_Exit(ready);
        },
        testing::ExitedWithCode(ready), "");
}

TEST(PrepareProcess, OpenStreamsAreLeftAlone) {
    EXPECT_EXIT(
        {
            const Identity before = identity(crt::stderr_fd);
            if (!os::prepare_process()) {
                std::_Exit(not_prepared);
            }
            std::_Exit(before != no_identity && identity(crt::stderr_fd) == before
                           ? ready
                           : stream_not_null);
        },
        testing::ExitedWithCode(ready), "");
}

TEST(PrepareProcess, AFileSizeLimitNoLongerKills) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit and no signal for exceeding one";
#else
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
#endif
}

// Holding the interrupts over a step and releasing them must leave the mask
// as the process was started with: blocked by the parent stays blocked.
TEST(Interrupts, ReleasingRestoresTheMaskTheProcessHad) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no signal mask; its handler is kept out by a lock";
#else
    EXPECT_EXIT(
        {
            sigset_t blocked;
            sigemptyset(&blocked);
            sigaddset(&blocked, SIGTERM);
            ::sigprocmask(SIG_SETMASK, &blocked, nullptr);
            os::hold_interrupts();
            sigset_t held;
            ::sigprocmask(SIG_SETMASK, nullptr, &held);
            os::release_interrupts();
            sigset_t after;
            ::sigprocmask(SIG_SETMASK, nullptr, &after);
            const bool was_held = sigismember(&held, SIGINT) == 1;
            const bool kept = sigismember(&after, SIGTERM) == 1 && sigismember(&after, SIGINT) == 0;
            std::_Exit(was_held && kept ? ready : signal_kept);
        },
        testing::ExitedWithCode(ready), "");
#endif
}

}  // namespace
