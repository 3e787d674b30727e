// SPDX-License-Identifier: MIT
// The operating-system calls of the program, behind one seam: the rest of the
// program stays portable, and tests can link a version that injects failures.
// Calls report failure as the C library does, with errno set.
#pragma once

#include <cstddef>
#include <ctime>

namespace os {

// Makes standard output and error pass bytes unchanged, so that every system
// prints the same texts, and makes a console that nobody reads harmless
// instead of fatal. Called before anything is printed.
void prepare_console();

// Readies the process to write the image safely: descriptors 0 to 2 are
// opened on the null device where closed, so the image cannot take one of
// them and receive console text; a file-size limit yields a write error
// instead of a signal that would leave a partial image; and the interrupts
// (interrupt, termination, hang-up and quit signals; on Windows Ctrl+C,
// Ctrl+Break and the closing of the console) first delete the file named by
// remove_on_interrupt, then end the process as they would have. Interrupts
// that the process was started to ignore stay ignored. False on failure.
bool prepare_process();

// While held, interrupts wait; releasing lets any that came meanwhile act.
// Holding keeps the record of what to delete in step with what exists.
void hold_interrupts();
void release_interrupts();

// From now on an interrupt closes `fd` and deletes `name`; a null `name`
// protects nothing again. Only while interrupts are held.
void remove_on_interrupt(const char* name, int fd);

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
