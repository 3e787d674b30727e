// SPDX-License-Identifier: MIT
// blankimg: writes an empty OS-ROM image, BLANKIMG.ROM, in the current directory.
#include <cerrno>
#include <ctime>

#include "app/console.hpp"
#include "app/image_file.hpp"
#include "app/local_stamp.hpp"
#include "app/os.hpp"
#include "image/builder.hpp"

// Arguments are ignored: the program has no options.
int main() {
    os::prepare_console();
    console::say_banner();
    // One reading of the clock, before the file exists, serves both entries.
    const image::DosStamp stamp = app::local_stamp(std::time(nullptr));
    console::say_start(app::image_file_name);
    if (!os::prepare_process() || !app::create_image_file()) {
        console::report_failure(errno, console::create_failed);
        return console::status_failure;
    }
    image::build_image(stamp);
    app::finish_image_file();
    console::say(console::completed);
    return console::status_success;
}
