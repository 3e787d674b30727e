#include "test_support.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <stdexcept>

namespace support {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "blankimg-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed: " + std::string(std::strerror(errno)));
    }
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave a directory without write or search permission behind.
    for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

std::vector<std::uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string read_text(const std::string& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return std::string(bytes.begin(), bytes.end());
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> list_dir(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string cp932(const std::string& utf8) {
    const iconv_t converter = ::iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv cannot convert to CP932");
    }
    std::string in = utf8;
    std::string out(in.size() * 2, '\0');
    char* in_at = in.data();
    char* out_at = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const std::size_t result = ::iconv(converter, &in_at, &in_left, &out_at, &out_left);
    ::iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || in_left != 0) {
        throw std::runtime_error("text has no CP932 form: " + utf8);
    }
    out.resize(out.size() - out_left);
    return out;
}

std::string difference(const std::vector<std::uint8_t>& got,
                       const std::vector<std::uint8_t>& want) {
    if (got == want) {
        return "";
    }
    if (got.size() != want.size()) {
        return "size " + std::to_string(got.size()) + " instead of " + std::to_string(want.size());
    }
    const auto at = std::mismatch(got.begin(), got.end(), want.begin()).first - got.begin();
    char text[80];
    std::snprintf(text, sizeof text, "byte 0x%05lX is 0x%02X instead of 0x%02X",
                  static_cast<long>(at), got[static_cast<std::size_t>(at)],
                  want[static_cast<std::size_t>(at)]);
    return text;
}

std::string error_line(int error_number) {
    return "BLANKIMG: " + std::string(std::strerror(error_number)) + "\n";
}

}  // namespace support
