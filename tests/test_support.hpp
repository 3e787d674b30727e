// SPDX-License-Identifier: MIT
// Small helpers shared by the tests that touch the file system.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "image/dos_stamp.hpp"

namespace support {

// A fresh directory under the system's temporary directory, readable by its
// owner only, removed with everything in it when the object goes.
//
// Named by `shared_as`, it is also found by the child of a death test, which
// on Windows is a new process that runs the test again from the start: the
// parent names the directory in that environment variable, and the child
// uses it instead of making one of its own.
struct TempDir {
    std::string path;
    const char* shared_as;
    bool owned = true;
    explicit TempDir(const char* shared_as = nullptr);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

std::vector<std::uint8_t> read_file(const std::string& path);
std::string read_text(const std::string& path);
void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Names in `dir`, sorted, without "." and "..".
std::vector<std::string> list_dir(const std::string& dir);

// `utf8` converted to code page 932 by the system (iconv, or Windows' own code
// page tables), so that the program's escaped console texts are checked
// against an independent source.
std::string cp932(const std::string& utf8);

// Empty when the two byte strings are equal; otherwise where they first differ.
std::string difference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want);

// "BLANKIMG: " and the C library's text for `error_number`, as perror prints it.
std::string error_line(int error_number);

// The same line for a failure concerning `file_name`: "BLANKIMG: NAME: reason".
std::string file_error_line(int error_number, const std::string& file_name);

enum class Zone { universal, local };

// Whether `stamp` is the time, in `zone`, of some second from `first` to `last`.
bool stamped_during(image::DosStamp stamp, std::time_t first, std::time_t last, Zone zone);

}  // namespace support
