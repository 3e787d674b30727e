#include "app/os.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {
constexpr int standard_stream_count = 3;  // standard input, output and error
constexpr mode_t read_write_mode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

bool is_open(int fd) {
    return fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}
}  // namespace

// The streams are byte streams already.
void prepare_console() {}

bool prepare_process() {
    if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) {
        return false;
    }
    // open() takes the lowest free descriptor, which is the closed one.
    for (int fd = 0; fd < standard_stream_count; ++fd) {
        if (!is_open(fd) && ::open("/dev/null", O_RDWR) != fd) {
            return false;
        }
    }
    return true;
}

int create_new(const char* name) {
    return ::open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, read_write_mode);
}

long write(int fd, const void* bytes, std::size_t length) {
    return ::write(fd, bytes, length);
}

int sync(int fd) {
    return ::fsync(fd);
}

int close(int fd) {
    return ::close(fd);
}

int remove(const char* name) {
    return ::unlink(name);
}

bool local_time(std::time_t now, std::tm& local) {
    ::tzset();
    return ::localtime_r(&now, &local) != nullptr;
}

}  // namespace os
