// SPDX-License-Identifier: MIT
#include "fake_os.hpp"

#include <cerrno>
#include <cstdlib>

#include "app/os.hpp"
#include "crt.hpp"

namespace fake_os {

Faults faults;
int write_calls = 0;
int sync_calls = 0;

namespace {
int open_fd = -1;  // the descriptor create_new handed out and nobody has closed yet
bool held = false;
bool pending = false;  // an interrupt came while held
const char* doomed_name = nullptr;
int doomed_fd = -1;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void require_open(int fd) {
    require(fd >= 0 && fd == open_fd);
}

// What the platforms' handlers do: close and delete what they were told to,
// then end the process.
[[noreturn]] void deliver() {
    if (doomed_name != nullptr) {
        if (doomed_fd == open_fd) {
            (void)crt::close(doomed_fd);
            open_fd = -1;
        }
        (void)crt::unlink(doomed_name);
    }
    std::_Exit(interrupted_status);
}

void interrupt_if(Moment moment) {
    if (faults.interrupt_at != moment ||
        (moment == Moment::write && write_calls != faults.interrupt_write_call)) {
        return;
    }
    if (held) {
        pending = true;
    } else {
        deliver();
    }
}
}  // namespace

void reset() {
    faults = Faults{};
    write_calls = 0;
    sync_calls = 0;
    open_fd = -1;
    held = false;
    pending = false;
    doomed_name = nullptr;
    doomed_fd = -1;
}

}  // namespace fake_os

namespace os {

using fake_os::faults;
using fake_os::Moment;

int create_new(const char* name) {
    fake_os::open_fd = crt::open(name, O_RDWR | O_CREAT | O_EXCL);
    const int result = fake_os::open_fd;
    fake_os::interrupt_if(Moment::create);
    return result;
}

long write(int fd, const void* bytes, std::size_t length) {
    fake_os::require_open(fd);
    long result = 0;
    if (++fake_os::write_calls == faults.fail_write_call) {
        if (faults.failed_result < 0) {
            errno = faults.write_errno;
            result = -1;
        } else {
            result = crt::write(fd, bytes, static_cast<std::size_t>(faults.failed_result));
        }
    } else {
        if (faults.max_write > 0 && length > static_cast<std::size_t>(faults.max_write)) {
            length = static_cast<std::size_t>(faults.max_write);
        }
        result = crt::write(fd, bytes, length);
    }
    fake_os::interrupt_if(Moment::write);
    return result;
}

int sync(int fd) {
    fake_os::require_open(fd);
    ++fake_os::sync_calls;
    int result = 0;
    if (faults.sync_errno != 0) {
        errno = faults.sync_errno;
        result = -1;
    } else {
        result = crt::sync(fd);
    }
    fake_os::interrupt_if(Moment::sync);
    return result;
}

int close(int fd) {
    fake_os::require_open(fd);
    fake_os::open_fd = -1;
    int result = crt::close(fd);
    if (faults.close_errno != 0) {
        errno = faults.close_errno;
        result = -1;
    }
    fake_os::interrupt_if(Moment::close);
    return result;
}

int remove(const char* name) {
    int result = 0;
    if (fake_os::open_fd != -1) {
        errno = EACCES;  // as Windows answers for a file still open
        result = -1;
    } else if (faults.remove_errno != 0) {
        errno = faults.remove_errno;
        result = -1;
    } else {
        result = crt::unlink(name);
    }
    fake_os::interrupt_if(Moment::remove);
    return result;
}

void hold_interrupts() {
    fake_os::require(!fake_os::held);
    fake_os::held = true;
}

void release_interrupts() {
    fake_os::require(fake_os::held);
    fake_os::held = false;
    if (fake_os::pending) {
        fake_os::deliver();
    }
}

void remove_on_interrupt(const char* name, int fd) {
    fake_os::require(fake_os::held);
    fake_os::doomed_name = name;
    fake_os::doomed_fd = fd;
}

}  // namespace os
