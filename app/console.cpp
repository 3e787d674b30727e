#include "app/console.hpp"

#include <cerrno>
#include <cstdio>

namespace console {

void say_banner() {
    say(banner_title);
    say(banner_notice);
    say("\n");
}

void say_start(const char* file_name) {
    (void)std::printf(start_format, file_name);
}

// Console output is not checked: the image, not the console, is the product.
void say(const char* text) {
    (void)std::fputs(text, stdout);
}

void report_failure(int error_number, const char* message) {
    // Standard output is buffered and standard error is not: flush first, so
    // the lines keep their order when both streams go to one file.
    (void)std::fflush(stdout);
    errno = error_number;
    std::perror(program_name);
    say(message);
}

}  // namespace console
