#include "app/image_file.hpp"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "app/console.hpp"
#include "app/os.hpp"
#include "image/write_block.hpp"

namespace app {

namespace {

constexpr int no_file = -1;
int image_fd = no_file;  // set once by create_image_file, for the whole run

// Deletes the partial image, reports `error_number` and ends the run. The
// error is passed in, not read from errno, so that the clean-up cannot change
// the reason given; the clean-up's own failures have no better report.
[[noreturn]] void fail_write(int error_number) {
    if (image_fd != no_file) {
        (void)os::close(std::exchange(image_fd, no_file));
    }
    (void)os::remove(image_file_name);
    console::report_failure(error_number, console::write_failed);
    std::exit(console::status_failure);
}

}  // namespace

bool create_image_file() {
    image_fd = os::create_new(image_file_name);
    return image_fd != no_file;
}

void finish_image_file() {
    if (os::sync(image_fd) != 0) {
        fail_write(errno);
    }
    // A failed close has still released the descriptor; only the name is left to delete.
    if (os::close(std::exchange(image_fd, no_file)) != 0) {
        fail_write(errno);
    }
}

}  // namespace app

// A short count is progress, not failure: keep going until the block is
// written or the system gives a reason. A call that writes nothing and gives
// no reason can only mean the medium is full.
void write_block(const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const long written = os::write(app::image_fd, bytes, length);
        if (written > 0) {
            bytes += written;
            length -= static_cast<std::size_t>(written);
        } else if (written == 0) {
            app::fail_write(ENOSPC);
        } else if (errno != EINTR) {
            app::fail_write(errno);
        }
    }
}
