// SPDX-License-Identifier: MIT
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
// the reason given. Interrupts are held while the file goes, so that one that
// comes meanwhile neither deletes a later file of that name nor cuts the
// report short: it ends the run quietly before the report instead.
[[noreturn]] void fail_write(int error_number) {
    os::hold_interrupts();
    if (image_fd != no_file) {
        (void)os::close(std::exchange(image_fd, no_file));
    }
    const bool removed = os::remove(image_file_name) == 0 || errno == ENOENT;
    const int remove_errno = errno;
    os::remove_on_interrupt(nullptr, no_file);
    os::release_interrupts();
    console::report_failure(error_number, console::write_failed);
    if (!removed) {
        console::report_file_failure(remove_errno, image_file_name,
                                     console::partial_file_kept_format);
    }
    std::exit(console::status_failure);
}

}  // namespace

// Interrupts are held over the creation, so that the file this run made, and
// only that one, is deleted by an interrupt from the moment it exists.
bool create_image_file() {
    os::hold_interrupts();
    image_fd = os::create_new(image_file_name);
    const int create_errno = errno;
    if (image_fd != no_file) {
        os::remove_on_interrupt(image_file_name, image_fd);
    }
    os::release_interrupts();
    errno = create_errno;
    return image_fd != no_file;
}

// An interrupt that comes during the close waits for it; once the close has
// succeeded the image is whole and is kept, whatever comes after.
void finish_image_file() {
    if (os::sync(image_fd) != 0) {
        fail_write(errno);
    }
    os::hold_interrupts();
    // A failed close has still released the descriptor; only the name is left to delete.
    const bool closed = os::close(std::exchange(image_fd, no_file)) == 0;
    const int close_errno = errno;
    if (closed) {
        os::remove_on_interrupt(nullptr, no_file);
    }
    os::release_interrupts();
    if (!closed) {
        fail_write(close_errno);
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
