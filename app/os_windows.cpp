// SPDX-License-Identifier: MIT
#include "app/os.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <time.h>
#include <windows.h>

// Windows has no file-size signal, and its C runtime translates newlines
// unless a descriptor is put in binary mode.
namespace os {

namespace {
constexpr int standard_stream_count = 3;       // standard input, output and error
constexpr unsigned max_write_count = INT_MAX;  // _write takes an unsigned count, returns an int
constexpr intptr_t closed_handle = -1;         // what _get_osfhandle gives for a free descriptor

// Windows' own exit status for a process ended by Ctrl+C.
constexpr UINT interrupted_status = 0xC000013A;

// The console runs its handler on a thread of its own while the program goes
// on: the lock, not a signal mask, keeps the handler out of the moments when
// the file and the record of it disagree.
SRWLOCK interrupt_lock = SRWLOCK_INIT;
const char* doomed_name = nullptr;
int doomed_fd = -1;

bool is_open(int fd) {
    return _get_osfhandle(fd) != closed_handle || errno != EBADF;
}

// Ctrl+C, Ctrl+Break, and the console's window closing or its session ending.
// The file is closed first: Windows deletes no file that is still open.
BOOL WINAPI on_interrupt(DWORD) {
    AcquireSRWLockExclusive(&interrupt_lock);
    if (doomed_name != nullptr) {
        (void)_close(doomed_fd);
        (void)_unlink(doomed_name);
        ExitProcess(interrupted_status);
    }
    ReleaseSRWLockExclusive(&interrupt_lock);
    return FALSE;  // the default handler ends the process as usual
}
}  // namespace

void prepare_console() {
    // The texts are Shift_JIS bytes with bare newlines, as on every system.
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
}

bool prepare_process() {
    // _open takes the lowest free descriptor, which is the closed one.
    for (int fd = 0; fd < standard_stream_count; ++fd) {
        if (!is_open(fd) && _open("NUL", _O_RDWR | _O_BINARY) != fd) {
            return false;
        }
    }
    return SetConsoleCtrlHandler(on_interrupt, TRUE) != 0;
}

void hold_interrupts() {
    AcquireSRWLockExclusive(&interrupt_lock);
}

void release_interrupts() {
    ReleaseSRWLockExclusive(&interrupt_lock);
}

void remove_on_interrupt(const char* name, int fd) {
    doomed_fd = fd;
    doomed_name = name;
}

int create_new(const char* name) {
    return _open(name, _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}

long write(int fd, const void* bytes, std::size_t length) {
    const unsigned count =
        length > max_write_count ? max_write_count : static_cast<unsigned>(length);
    return _write(fd, bytes, count);
}

int sync(int fd) {
    return _commit(fd);
}

int close(int fd) {
    return _close(fd);
}

int remove(const char* name) {
    return _unlink(name);
}

bool local_time(std::time_t now, std::tm& local) {
    _tzset();
    return localtime_s(&local, &now) == 0;
}

}  // namespace os
