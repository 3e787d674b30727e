// SPDX-License-Identifier: MIT
#include "run_support.hpp"

#include <cstdlib>

#include "expected_image.hpp"
#include "test_support.hpp"

namespace run {

namespace {

// Sanitizer settings of the test run reach the program, so that a sanitized
// program fails its test on the first report.
void pass_through(std::vector<std::string>& env, const char* name) {
    if (const char* value = std::getenv(name); value != nullptr) {
        env.push_back(std::string(name) + "=" + value);
    }
}

}  // namespace

bool have_faketime() {
    return std::string(FAKETIME_LIBRARY).size() > 0;
}

process::Launch blankimg_in(const std::string& dir, const Clock& clock) {
    process::Launch launch;
    launch.program = BLANKIMG_PROGRAM;
    launch.dir = dir;
    launch.env = {"LC_ALL=C", "TZ=" + clock.tz};
    pass_through(launch.env, "UBSAN_OPTIONS");
    pass_through(launch.env, "LSAN_OPTIONS");
    pass_through(launch.env, "ASAN_OPTIONS");
    if (clock.faketime.empty()) {
        return launch;
    }
    // AddressSanitizer refuses to start when libfaketime is loaded before it.
    add_asan_option(launch, "verify_asan_link_order=0");
    launch.env.push_back("LD_PRELOAD=" FAKETIME_LIBRARY);
    launch.env.push_back("FAKETIME=" + clock.faketime);
    if (!clock.format.empty()) {
        launch.env.push_back("FAKETIME_FMT=" + clock.format);
    }
    return launch;
}

void add_asan_option(process::Launch& launch, const std::string& option) {
    const std::string name = "ASAN_OPTIONS=";
    for (std::string& variable : launch.env) {
        if (variable.starts_with(name)) {
            variable += (variable.size() > name.size() ? ":" : "") + option;
            return;
        }
    }
    launch.env.push_back(name + option);
}

bool have_strace() {
    return std::string(STRACE_PROGRAM).size() > 0;
}

std::string image_difference(const std::string& path, image::DosStamp stamp) {
    return support::difference(support::read_file(path), expected::rom_image(stamp));
}

std::string image_difference(const std::string& path) {
    const expected::Bytes image = support::read_file(path);
    return support::difference(image, expected::rom_image(expected::stamp_of(image)));
}

process::Launch traced(process::Launch launch, const std::string& trace,
                       const std::vector<std::string>& options) {
    std::vector<std::string> args{"-o", trace};
    args.insert(args.end(), options.begin(), options.end());
    // strace's trace file would take a stream closed before strace starts:
    // a shell closes them after, in the process it then turns into blankimg.
    const std::string closing = std::string(launch.close_stdin ? " <&-" : "") +
                                (launch.close_stdout ? " >&-" : "") +
                                (launch.close_stderr ? " 2>&-" : "");
    if (!closing.empty()) {
        args.insert(args.end(), {"/bin/sh", "-c", "exec \"$0\" \"$@\"" + closing});
        launch.close_stdin = launch.close_stdout = launch.close_stderr = false;
    }
    args.push_back(launch.program);
    args.insert(args.end(), launch.args.begin(), launch.args.end());
    launch.args = args;
    launch.program = STRACE_PROGRAM;
    add_asan_option(launch, "detect_leaks=0");  // LeakSanitizer cannot run under ptrace
    return launch;
}

// By name for the creation and the delete, by descriptor for the rest, which
// strace resolves to the absolute path.
std::vector<std::string> image_calls(const process::Launch& launch) {
    return {"-P", "BLANKIMG.ROM", "-P", launch.dir + "/BLANKIMG.ROM"};
}

}  // namespace run
