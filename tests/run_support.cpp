#include "run_support.hpp"

#include <cstdlib>

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

}  // namespace run
