// SPDX-License-Identifier: MIT
// The real program, run in fresh directories under the environments it has
// to survive: what it prints, its exit status, and what it leaves behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "expected_console.hpp"
#include "expected_image.hpp"
#include "run_support.hpp"
#include "test_support.hpp"

namespace {

namespace fs = std::filesystem;
using expected::Bytes;
using process::Outcome;

constexpr char image_name[] = "BLANKIMG.ROM";

bool is_root() {
    return ::geteuid() == 0;
}

class Blankimg : public testing::Test {
  protected:
    void SetUp() override {
        if (!run::have_faketime()) {
            GTEST_SKIP() << "libfaketime is not installed: the image's stamp cannot be fixed";
        }
    }

    std::string image_path() const { return work / image_name; }

    void expect_success(const Outcome& outcome,
                        image::DosStamp stamp = run::december_2002_stamp) const {
        EXPECT_EQ(outcome.signal, 0);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::completed());
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{image_name});
        expect_image(stamp);
    }

    void expect_image(image::DosStamp stamp = run::december_2002_stamp) const {
        EXPECT_EQ(run::image_difference(image_path(), stamp), "");
    }

    static void expect_create_failure(const Outcome& outcome, int error_number) {
        EXPECT_EQ(outcome.signal, 0);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, support::error_line(error_number));
        EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::create_failed());
    }

    void expect_write_failure(const Outcome& outcome, int error_number) const {
        EXPECT_EQ(outcome.signal, 0) << "the program was killed, leaving its partial image";
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, support::error_line(error_number));
        EXPECT_EQ(outcome.out, expected::banner_and_start() + expected::write_failed());
        EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{});
    }

    support::TempDir work;
};

TEST_F(Blankimg, CreatesTheImageAndReportsSuccess) {
    expect_success(process::run(run::blankimg_in(work.path)));
    struct stat info {};
    ASSERT_EQ(::stat(image_path().c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & (S_IRUSR | S_IWUSR), S_IRUSR | S_IWUSR) << "not read-only";
}

// The banner's text is fixed; the project's version, which names the
// packages and the manual, must be the one it shows.
TEST_F(Blankimg, TheBannerShowsTheProjectsVersion) {
    const Outcome outcome = process::run(run::blankimg_in(work.path));
    EXPECT_TRUE(outcome.out.starts_with("BLANKIMG V" BLANKIMG_VERSION ": "))
        << "the project is version " BLANKIMG_VERSION;
}

TEST_F(Blankimg, ASecondRunRefusesAndKeepsTheFirstImage) {
    expect_success(process::run(run::blankimg_in(work.path)));
    const Bytes first = support::read_file(image_path());
    expect_create_failure(process::run(run::blankimg_in(work.path, {"2003-01-01 00:00:00"})),
                          EEXIST);
    EXPECT_EQ(support::read_file(image_path()), first);
}

TEST_F(Blankimg, ArgumentsChangeNothing) {
    const support::TempDir plain;
    const Outcome without = process::run(run::blankimg_in(plain.path));
    process::Launch launch = run::blankimg_in(work.path);
    launch.args = {"--help", "-f", image_name, "/tmp/elsewhere.rom"};
    const Outcome with = process::run(launch);
    expect_success(with);
    EXPECT_EQ(with.out, without.out);
    EXPECT_EQ(with.status, without.status);
    EXPECT_EQ(support::read_file(image_path()), support::read_file(plain / image_name));
}

// The image's descriptor and its calls, as "name = result", in a trace of
// openat, write, fsync and close.
struct ImageTrace {
    int fd = -1;
    std::vector<std::string> calls;
};

ImageTrace image_trace(const std::string& trace) {
    std::istringstream lines(support::read_text(trace));
    std::string fd;
    ImageTrace found;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("= ") == std::string::npos) {
            continue;  // "+++ exited with 0 +++"
        }
        const std::string name = line.substr(0, line.find('('));
        const std::string result = line.substr(line.rfind("= "));
        if (line.starts_with("openat(AT_FDCWD, \"BLANKIMG.ROM\"")) {
            fd = result.substr(2);
            found.fd = std::stoi(fd);
        } else if (!fd.empty() && (line.starts_with(name + "(" + fd + ",") ||
                                   line.starts_with(name + "(" + fd + ")"))) {
            found.calls.push_back(name + " " + result);
        }
    }
    return found;
}

const std::vector<std::string> image_call_options = {"-e", "trace=openat,write,fsync,close"};

// The image goes out in exactly the layout's 1,127 writes, then is flushed
// to storage and closed, as the system calls show.
TEST_F(Blankimg, MakesTheLayoutsWritesThenFlushesAndCloses) {
    if (!run::have_strace()) {
        GTEST_SKIP() << "strace is not installed";
    }
    const support::TempDir trace_dir;
    const std::string trace = trace_dir / "trace";
    expect_success(
        process::run(run::traced(run::blankimg_in(work.path), trace, image_call_options)));

    const ImageTrace found = image_trace(trace);
    ASSERT_NE(found.fd, -1) << "the image was never opened";
    EXPECT_GT(found.fd, 2) << "the image must not take a standard stream's descriptor";
    std::vector<std::string> want;
    want.insert(want.end(), 1, "write = 512");
    want.insert(want.end(), 2, "write = 1024");
    want.insert(want.end(), 112, "write = 32");
    want.insert(want.end(), 1012, "write = 512");
    want.push_back("fsync = 0");
    want.push_back("close = 0");
    EXPECT_EQ(found.calls, want);
}

// Every kind of entry already named BLANKIMG.ROM is refused and left alone.
struct ExistingEntry {
    const char* name;
    void (*make)(const std::string& dir);
};

void make_file(const std::string& path, std::size_t length) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    support::write_file(path, bytes);
}

const ExistingEntry existing_entries[] = {
    {"EmptyFile", [](const std::string& dir) { make_file(dir + "/BLANKIMG.ROM", 0); }},
    {"FileWithContent", [](const std::string& dir) { make_file(dir + "/BLANKIMG.ROM", 3000); }},
    {"EarlierImage",
     [](const std::string& dir) {
         support::write_file(dir + "/BLANKIMG.ROM", expected::rom_image({0x1234, 0x5678}));
     }},
    {"Directory",
     [](const std::string& dir) {
         fs::create_directory(dir + "/BLANKIMG.ROM");
         make_file(dir + "/BLANKIMG.ROM/inside", 10);
     }},
    {"SymlinkToFile",
     [](const std::string& dir) {
         make_file(dir + "/target", 100);
         fs::create_symlink("target", dir + "/BLANKIMG.ROM");
     }},
    {"DanglingSymlink",
     [](const std::string& dir) { fs::create_symlink("missing", dir + "/BLANKIMG.ROM"); }},
    {"Fifo",
     [](const std::string& dir) { ASSERT_EQ(::mkfifo((dir + "/BLANKIMG.ROM").c_str(), 0600), 0); }},
};

// Type, size, permissions, content or link target of every entry below `dir`.
std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const fs::file_status status = entry.symlink_status();
        std::string facts = std::to_string(static_cast<int>(status.type())) + " " +
                            std::to_string(static_cast<int>(status.permissions())) + " ";
        if (status.type() == fs::file_type::symlink) {
            facts += fs::read_symlink(entry.path()).string();
        } else if (status.type() == fs::file_type::regular) {
            facts += support::read_text(entry.path().string());
        }
        entries[entry.path().string()] = facts;
    }
    return entries;
}

class BlankimgExisting : public Blankimg, public testing::WithParamInterface<ExistingEntry> {};

TEST_P(BlankimgExisting, IsRefusedAndLeftUntouched) {
    GetParam().make(work.path);
    const auto before = snapshot(work.path);
    expect_create_failure(process::run(run::blankimg_in(work.path)), EEXIST);
    EXPECT_EQ(snapshot(work.path), before);
}

INSTANTIATE_TEST_SUITE_P(Entries, BlankimgExisting, testing::ValuesIn(existing_entries),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Blankimg, ADirectoryWithoutWritePermissionIsReported) {
    // Root may write anywhere: the run drops to an unprivileged user, so it
    // needs a copy of the program that user can reach.
    const support::TempDir bin;
    fs::permissions(bin.path, fs::perms::owner_all | fs::perms::group_exec |
                                  fs::perms::others_exec | fs::perms::group_read |
                                  fs::perms::others_read);
    fs::copy_file(BLANKIMG_PROGRAM, bin / "blankimg");
    fs::permissions(work.path, fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
    process::Launch launch = run::blankimg_in(work.path);
    launch.program = bin / "blankimg";
    launch.drop_privileges = is_root();
    expect_create_failure(process::run(launch), EACCES);
    EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{});
}

TEST_F(Blankimg, ARemovedWorkingDirectoryIsReported) {
    fs::create_directory(work / "gone");
    process::Launch launch = run::blankimg_in(work / "gone");
    launch.remove_dir = true;
    expect_create_failure(process::run(launch), ENOENT);
    EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{});
}

// A file-size limit anywhere in the image, from the first block to the last
// byte: block boundaries of each region and the bytes beside them.
class BlankimgFileSizeLimit : public Blankimg, public testing::WithParamInterface<long> {};

// On the real clock: no image survives to show a stamp, and libfaketime
// writes a semaphore file at start-up that the smallest limits would stop.
TEST_P(BlankimgFileSizeLimit, EndsInTheWriteFailureWithNothingLeft) {
    process::Launch launch = run::blankimg_in(work.path, run::real_clock);
    launch.file_size_limit = GetParam();
    expect_write_failure(process::run(launch), EFBIG);
}

INSTANTIATE_TEST_SUITE_P(Limits, BlankimgFileSizeLimit,
                         testing::Values(0, 1, 511, 512, 513, 1536, 2559, 2560, 2561, 2591, 2592,
                                         6143, 6144, 6145, 0x3FFFF, 0x40000, 0x40001, 0x7FFFF));

TEST_F(Blankimg, AFileSizeLimitOfTheImagesSizeIsEnough) {
    process::Launch launch = run::blankimg_in(work.path);
    launch.file_size_limit = static_cast<long>(expected::image_size);
    expect_success(process::run(launch));
}

// A small tmpfs as the working directory: full part-way, or just big enough.
struct Medium {
    const char* name;
    const char* size;
    bool fits;
};

const Medium media[] = {
    {"OnePage", "4k", false},
    {"InTheDataArea", "64k", false},
    {"InTheTail", "508k", false},
    {"ExactFit", "512k", true},
};

class BlankimgFullDisk : public Blankimg, public testing::WithParamInterface<Medium> {
  protected:
    void TearDown() override {
        if (mounted) {
            ::umount2(mount_point.c_str(), MNT_DETACH);
        }
    }
    std::string mount_point;
    bool mounted = false;
};

TEST_P(BlankimgFullDisk, EndsInTheWriteFailureWithNothingLeft) {
    if (!is_root()) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    const std::string options = std::string("size=") + GetParam().size + ",mode=0700";
    mount_point = work.path;
    if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    mounted = true;
    const Outcome outcome = process::run(run::blankimg_in(work.path));
    if (GetParam().fits) {
        expect_success(outcome);
    } else {
        expect_write_failure(outcome, ENOSPC);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlankimgFullDisk, testing::ValuesIn(media),
                         [](const auto& info) { return std::string(info.param.name); });

// Console text must never reach the image, whichever streams are closed.
struct ClosedStreams {
    const char* name;
    bool in, out, err;
};

const ClosedStreams closed_streams[] = {
    {"Input", true, false, false},
    {"Output", false, true, false},
    {"Error", false, false, true},
    {"All", true, true, true},
};

class BlankimgClosed : public Blankimg, public testing::WithParamInterface<ClosedStreams> {
  protected:
    process::Launch closed_launch() const {
        process::Launch launch = run::blankimg_in(work.path);
        launch.close_stdin = GetParam().in;
        launch.close_stdout = GetParam().out;
        launch.close_stderr = GetParam().err;
        return launch;
    }
};

TEST_P(BlankimgClosed, StillWritesTheExactImage) {
    const Outcome outcome = process::run(closed_launch());
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              GetParam().out ? "" : expected::banner_and_start() + expected::completed());
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{image_name});
    expect_image();
}

TEST_P(BlankimgClosed, StillReportsAFailedWrite) {
    process::Launch launch = closed_launch();
    launch.file_size_limit = 3000;
    const Outcome outcome = process::run(launch);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              GetParam().out ? "" : expected::banner_and_start() + expected::write_failed());
    EXPECT_EQ(outcome.err, GetParam().err ? "" : support::error_line(EFBIG));
    EXPECT_EQ(support::list_dir(work.path), std::vector<std::string>{});
}

// On the real clock: libfaketime would itself hold the lowest free descriptor.
TEST_P(BlankimgClosed, TheImageTakesNoStandardDescriptor) {
    if (!run::have_strace()) {
        GTEST_SKIP() << "strace is not installed";
    }
    const support::TempDir trace_dir;
    const std::string trace = trace_dir / "trace";
    process::Launch launch = closed_launch();
    launch.env = run::blankimg_in(work.path, run::real_clock).env;
    EXPECT_EQ(process::run(run::traced(launch, trace, image_call_options)).status, 0);
    const int fd = image_trace(trace).fd;
    ASSERT_NE(fd, -1) << "the image was never opened";
    EXPECT_GT(fd, 2) << "the image must not take a standard stream's descriptor";
    EXPECT_EQ(run::image_difference(image_path()), "");
}

INSTANTIATE_TEST_SUITE_P(Streams, BlankimgClosed, testing::ValuesIn(closed_streams),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Blankimg, AFullConsoleDoesNotAffectTheImage) {
    process::Launch launch = run::blankimg_in(work.path);
    launch.stdout_path = "/dev/full";
    const Outcome first = process::run(launch);
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, "");
    expect_image();
    const Outcome second = process::run(launch);
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, support::error_line(EEXIST));
}

TEST_F(Blankimg, SharedStreamsKeepTheirOrder) {
    process::Launch launch = run::blankimg_in(work.path);
    launch.shared_streams = true;
    launch.file_size_limit = 3000;
    EXPECT_EQ(process::run(launch).out,
              expected::banner_and_start() + support::error_line(EFBIG) + expected::write_failed());

    launch.file_size_limit = -1;
    EXPECT_EQ(process::run(launch).out, expected::banner_and_start() + expected::completed());
    EXPECT_EQ(process::run(launch).out, expected::banner_and_start() + support::error_line(EEXIST) +
                                            expected::create_failed());
}

// The local time of day, in any zone, from 1980 to 2107.
struct ClockCase {
    const char* name;
    run::Clock clock;
    image::DosStamp stamp;
};

const ClockCase clock_cases[] = {
    {"December2002", run::december_2002, run::december_2002_stamp},
    {"OddSecondRoundsDown",
     {"2002-12-10 13:49:59"},
     image::pack_dos_stamp(2002, 12, 10, 13, 49, 58)},
    {"Epoch1980", {"1980-01-01 00:00:00"}, {0x0000, 0x0021}},
    {"Last2107", {"2107-12-31 23:59:59"}, {0xBF7D, 0xFF9F}},
    {"StampWithNewlineBytes", {"1985-05-10 00:00:20"}, {0x000A, 0x0AAA}},
    {"TokyoSameDay",
     {"1039528156", "%s", "JST-9"},
     image::pack_dos_stamp(2002, 12, 10, 22, 49, 16)},
    {"TokyoNewYear", {"1041364800", "%s", "JST-9"}, image::pack_dos_stamp(2003, 1, 1, 5, 0, 0)},
    {"NewYorkSummerTime",
     {"1625140800", "%s", "EST5EDT,M3.2.0,M11.1.0"},
     image::pack_dos_stamp(2021, 7, 1, 8, 0, 0)},
    {"ClockBeyondLocalTime", {"+100000000000000000s"}, {0x0000, 0x0021}},
};

class BlankimgClock : public Blankimg, public testing::WithParamInterface<ClockCase> {};

TEST_P(BlankimgClock, StampsBothEntriesWithTheLocalTime) {
    expect_success(process::run(run::blankimg_in(work.path, GetParam().clock)), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(Clocks, BlankimgClock, testing::ValuesIn(clock_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BlankimgRealClock, StampsTheTimeOfTheRun) {
    const support::TempDir work;
    const std::time_t before = std::time(nullptr);
    const Outcome outcome = process::run(run::blankimg_in(work.path, run::real_clock));
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(outcome.status, 0);
    const Bytes image = support::read_file(work / image_name);
    ASSERT_EQ(image.size(), expected::image_size);

    const image::DosStamp stamp = expected::stamp_of(image);
    EXPECT_TRUE(support::stamped_during(stamp, before, after, support::Zone::universal))
        << "stamp 0x" << std::hex << stamp.time << " 0x" << stamp.date;
    EXPECT_EQ(support::difference(image, expected::rom_image(stamp)), "");
}

}  // namespace
