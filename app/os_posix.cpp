// SPDX-License-Identifier: MIT
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
constexpr int interrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What an interrupt deletes; written only while interrupts are held.
const char* volatile doomed_name = nullptr;
volatile std::sig_atomic_t doomed_fd = -1;

bool is_open(int fd) {
    return fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

sigset_t interrupt_set() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : interrupts) {
        sigaddset(&set, signal);
    }
    return set;
}

// Only async-signal-safe calls. The default action, raised again once
// unblocked, ends the process the way the shell expects of that signal.
extern "C" void on_interrupt(int signal) {
    if (doomed_name != nullptr) {
        (void)::close(doomed_fd);
        (void)::unlink(doomed_name);
    }
    (void)std::signal(signal, SIG_DFL);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal);
    (void)::sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    (void)::raise(signal);
}

// An interrupt the process was started to ignore (nohup, a background job)
// is left ignored.
bool catch_interrupts() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    action.sa_mask = interrupt_set();
    action.sa_flags = SA_RESTART;
    for (const int signal : interrupts) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0) {
            return false;
        }
        if (old.sa_handler != SIG_IGN && ::sigaction(signal, &action, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

// The mask as it was before the hold: a signal that the process was started
// with blocked stays blocked after it.
sigset_t mask_before_hold;
}  // namespace

// The streams are byte streams already; a reader that has gone must not kill
// the run before it has said why it ended.
void prepare_console() {
    (void)std::signal(SIGPIPE, SIG_IGN);
}

bool prepare_process() {
    if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || !catch_interrupts()) {
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

void hold_interrupts() {
    const sigset_t set = interrupt_set();
    (void)::sigprocmask(SIG_BLOCK, &set, &mask_before_hold);
}

void release_interrupts() {
    (void)::sigprocmask(SIG_SETMASK, &mask_before_hold, nullptr);
}

void remove_on_interrupt(const char* name, int fd) {
    doomed_fd = fd;
    doomed_name = name;
}

bool local_time(std::time_t now, std::tm& local) {
    ::tzset();
    return ::localtime_r(&now, &local) != nullptr;
}

}  // namespace os
