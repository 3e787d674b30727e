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

void require_open(int fd) {
    if (fd < 0 || fd != open_fd) {
        std::abort();
    }
}
}  // namespace

void reset() {
    faults = Faults{};
    write_calls = 0;
    sync_calls = 0;
    open_fd = -1;
}

}  // namespace fake_os

namespace os {

using fake_os::faults;

int create_new(const char* name) {
    fake_os::open_fd = crt::open(name, O_RDWR | O_CREAT | O_EXCL);
    return fake_os::open_fd;
}

long write(int fd, const void* bytes, std::size_t length) {
    fake_os::require_open(fd);
    if (++fake_os::write_calls == faults.fail_write_call) {
        if (faults.failed_result < 0) {
            errno = faults.write_errno;
            return -1;
        }
        return crt::write(fd, bytes, static_cast<std::size_t>(faults.failed_result));
    }
    if (faults.max_write > 0 && length > static_cast<std::size_t>(faults.max_write)) {
        length = static_cast<std::size_t>(faults.max_write);
    }
    return crt::write(fd, bytes, length);
}

int sync(int fd) {
    fake_os::require_open(fd);
    ++fake_os::sync_calls;
    if (faults.sync_errno != 0) {
        errno = faults.sync_errno;
        return -1;
    }
    return crt::sync(fd);
}

int close(int fd) {
    fake_os::require_open(fd);
    fake_os::open_fd = -1;
    const int result = crt::close(fd);
    if (faults.close_errno != 0) {
        errno = faults.close_errno;
        return -1;
    }
    return result;
}

int remove(const char* name) {
    const int result = crt::unlink(name);
    if (faults.remove_errno != 0) {
        errno = faults.remove_errno;
        return -1;
    }
    return result;
}

}  // namespace os
