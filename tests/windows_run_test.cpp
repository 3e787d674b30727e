// SPDX-License-Identifier: MIT
// The real blankimg.exe, run by Windows' own process calls in fresh
// directories: the exact image, the exact console bytes, the exit status.
#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>

#include <windows.h>

#include "expected_console.hpp"
#include "expected_image.hpp"
#include "test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr char image_name[] = "BLANKIMG.ROM";

struct Outcome {
    DWORD status = ~DWORD{0};
    std::string out;
    std::string err;
};

// The program sits beside this test's own directory, in the build tree.
std::string program_path() {
    char own[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    return (fs::path(std::string(own, length)).parent_path() / BLANKIMG_PROGRAM_FROM_TESTS)
        .lexically_normal()
        .string();
}

HANDLE inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

enum class Streams { captured, none };

// Runs blankimg.exe in `dir`, with standard input on NUL and the two output
// streams in files of `console`, or with no standard handles at all, as a
// program started from a graphical shell may be.
Outcome run_blankimg(const std::string& dir, const support::TempDir& console,
                     Streams streams = Streams::captured) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (streams == Streams::captured) {
        startup.hStdInput = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
        startup.hStdOutput = inheritable(console / "out", GENERIC_WRITE, CREATE_ALWAYS);
        startup.hStdError = inheritable(console / "err", GENERIC_WRITE, CREATE_ALWAYS);
    }
    std::string command = "\"";  // one step at a time: GCC 12 warns wrongly of a + b + c
    command += program_path();
    command += '"';
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(),
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &outcome.status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << command << ": error " << ::GetLastError();
    }
    if (streams == Streams::captured) {
        for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
            ::CloseHandle(handle);
        }
        outcome.out = support::read_text(console / "out");
        outcome.err = support::read_text(console / "err");
    }
    return outcome;
}

class BlankimgOnWindows : public testing::Test {
  protected:
    // Runs blankimg.exe and expects it to succeed with the exact image,
    // stamped during the run, alone in its directory.
    Outcome expect_exact_image(Streams streams = Streams::captured) const {
        const std::time_t before = std::time(nullptr);
        const Outcome outcome = run_blankimg(work.path, console, streams);
        const std::time_t after = std::time(nullptr);

        EXPECT_EQ(outcome.status, 0u);
        EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{image_name});
        const DWORD attributes = ::GetFileAttributesA((work / image_name).c_str());
        EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u) << "the image is read-only";
        const expected::Bytes image = support::read_file(work / image_name);
        EXPECT_EQ(image.size(), expected::image_size);
        if (image.size() == expected::image_size) {
            const image::DosStamp stamp = expected::stamp_of(image);
            EXPECT_TRUE(support::stamped_during(stamp, before, after, support::Zone::local))
                << "stamp 0x" << std::hex << stamp.time << " 0x" << stamp.date;
            EXPECT_EQ(support::difference(image, expected::rom_image(stamp)), "");
        }
        return outcome;
    }

    support::TempDir work;
    support::TempDir console;
};

TEST_F(BlankimgOnWindows, WritesTheExactImageAndTheSameTextsAsElsewhere) {
    const Outcome outcome = expect_exact_image();
    EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::completed());
    EXPECT_EQ(outcome.err, "");
}

// The texts go nowhere, and none of them may go into the image.
TEST_F(BlankimgOnWindows, WithoutStandardHandlesStillWritesTheExactImage) {
    expect_exact_image(Streams::none);
}

TEST_F(BlankimgOnWindows, ASecondRunReportsTheExistingFileAndKeepsTheFirst) {
    ASSERT_EQ(run_blankimg(work.path, console).status, 0u);
    const expected::Bytes first = support::read_file(work / image_name);

    const Outcome second = run_blankimg(work.path, console);
    EXPECT_EQ(second.status, 1u);
    EXPECT_EQ(second.err, support::error_line(EEXIST));
    EXPECT_EQ(second.out, expected::banner_and_start() + expected::create_failed());
    EXPECT_EQ(support::read_file(work / image_name), first);
}

// Conditions that the POSIX run tests set up and Windows has no way to make.
TEST(BlankimgOnWindowsCannot, LimitTheFileSize) {
    GTEST_SKIP() << "Windows has no per-process file-size limit, nor a signal for exceeding one";
}

TEST(BlankimgOnWindowsCannot, RemoveTheWorkingDirectory) {
    GTEST_SKIP() << "Windows does not remove a directory that a process works in";
}

}  // namespace
