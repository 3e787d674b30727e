// SPDX-License-Identifier: MIT
// The C runtime calls that tests make below the program's own system layer,
// under one name on both systems: Windows spells them with underscores and
// wants binary mode asked for.
#pragma once

#include <cstddef>
#include <ctime>
#include <fcntl.h>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace crt {

#ifdef _WIN32
inline constexpr int user_read_write = _S_IREAD | _S_IWRITE;

inline int open(const char* name, int flags) {
    return ::_open(name, flags | _O_BINARY | _O_NOINHERIT, user_read_write);
}
inline long write(int fd, const void* bytes, std::size_t length) {
    return ::_write(fd, bytes, static_cast<unsigned>(length));
}
inline int sync(int fd) {
    return ::_commit(fd);
}
inline int close(int fd) {
    return ::_close(fd);
}
inline int unlink(const char* name) {
    return ::_unlink(name);
}
inline int dup2(int from, int to) {
    return ::_dup2(from, to);
}
inline void set_env(const char* name, const std::string& value) {
    (void)::_putenv_s(name, value.c_str());
}
inline void unset_env(const char* name) {
    (void)::_putenv_s(name, "");
}
inline void tzset() {
    ::_tzset();
}
#else
inline constexpr int user_read_write = 0600;

inline int open(const char* name, int flags) {
    return ::open(name, flags | O_CLOEXEC, user_read_write);
}
inline long write(int fd, const void* bytes, std::size_t length) {
    return ::write(fd, bytes, length);
}
inline int sync(int fd) {
    return ::fsync(fd);
}
inline int close(int fd) {
    return ::close(fd);
}
inline int unlink(const char* name) {
    return ::unlink(name);
}
inline int dup2(int from, int to) {
    return ::dup2(from, to);
}
inline void set_env(const char* name, const std::string& value) {
    (void)::setenv(name, value.c_str(), 1);
}
inline void unset_env(const char* name) {
    (void)::unsetenv(name);
}
inline void tzset() {
    ::tzset();
}
#endif

inline constexpr int stdout_fd = 1;
inline constexpr int stderr_fd = 2;

}  // namespace crt
