// The operating-system calls of the program, behind one seam: the rest of the
// program stays portable, and tests can link a version that injects failures.
// Calls report failure as the C library does, with errno set.
#pragma once

#include <cstddef>
#include <ctime>

namespace os {

// Makes standard output and error pass bytes unchanged, so that every system
// prints the same texts. Called before anything is printed.
void prepare_console();

// Readies the process to write the image safely: descriptors 0 to 2 are
// opened on the null device where closed, so the image cannot take one of
// them and receive console text, and a file-size limit yields a write error
// instead of a signal that would leave a partial image. False on failure.
bool prepare_process();

// Creates and opens `name` for binary reading and writing, only if no entry of
// that name exists (a symbolic link, dangling or not, counts and is not
// followed). Returns the descriptor, or -1.
int create_new(const char* name);

// One write call: the count written, possibly short, or -1.
long write(int fd, const void* bytes, std::size_t length);

// Flushes the file's data to storage: 0, or -1.
int sync(int fd);

// 0, or -1.
int close(int fd);

// Deletes `name`: 0, or -1.
int remove(const char* name);

// Converts `now` to local broken-down time; false if it cannot be converted.
bool local_time(std::time_t now, std::tm& local);

}  // namespace os
