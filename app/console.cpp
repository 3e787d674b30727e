// SPDX-License-Identifier: MIT
#include "app/console.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace console {

void say_banner() {
    say(banner_title);
    say(banner_notice);
    say("\n");
}

void say_start(const char* file_name) {
    (void)std::printf(start_format, file_name);
    (void)std::fflush(stdout);
}

// Console output is not checked: the image, not the console, is the product.
void say(const char* text) {
    (void)std::fputs(text, stdout);
}

// Standard output is buffered and standard error is not: the reports flush
// first, so the lines keep their order when both streams go to one file.
void report_failure(int error_number, const char* message) {
    (void)std::fflush(stdout);
    errno = error_number;
    std::perror(program_name);
    say(message);
}

void report_file_failure(int error_number, const char* file_name, const char* message_format) {
    (void)std::fflush(stdout);
    (void)std::fprintf(stderr, "%s: %s: %s\n", program_name, file_name,
                       std::strerror(error_number));
    (void)std::printf(message_format, file_name);
}

}  // namespace console
