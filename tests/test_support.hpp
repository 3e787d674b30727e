// Small helpers shared by the tests that touch the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
struct TempDir {
    std::string path;
    TempDir();
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

// `utf8` converted to code page 932 by the C library's iconv, so that the
// program's escaped console texts are checked against an independent source.
std::string cp932(const std::string& utf8);

// Empty when the two byte strings are equal; otherwise where they first differ.
std::string difference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want);

// "BLANKIMG: " and the C library's text for `error_number`, as perror prints it.
std::string error_line(int error_number);

}  // namespace support
