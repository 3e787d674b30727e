// SPDX-License-Identifier: MIT
#include "test_support.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "crt.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace support {

namespace fs = std::filesystem;

namespace {

fs::path new_private_directory() {
    std::random_device random;
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("blankimg-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
            return candidate;
        }
    }
    throw std::runtime_error("no free name for a temporary directory");
}

}  // namespace

TempDir::TempDir(const char* shared_as_) : shared_as(shared_as_) {
    if (shared_as != nullptr) {
        if (const char* parents = std::getenv(shared_as); parents != nullptr && *parents != '\0') {
            path = parents;
            owned = false;
            return;
        }
    }
    path = new_private_directory().string();
    if (shared_as != nullptr) {
        crt::set_env(shared_as, path);
    }
}

TempDir::~TempDir() {
    if (!owned) {
        return;
    }
    if (shared_as != nullptr) {
        crt::unset_env(shared_as);
    }
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

#ifdef _WIN32
std::string cp932(const std::string& utf8) {
    constexpr unsigned shift_jis = 932;
    const int in_size = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    const int wide_size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in_size,
                                                wide.data(), in_size);
    std::string out(utf8.size() * 2, '\0');
    BOOL lossy = FALSE;
    const int out_size =
        wide_size <= 0
            ? 0
            : ::WideCharToMultiByte(shift_jis, WC_NO_BEST_FIT_CHARS, wide.data(), wide_size,
                                    out.data(), static_cast<int>(out.size()), nullptr, &lossy);
    if (out_size <= 0 || lossy) {
        throw std::runtime_error("text has no CP932 form: " + utf8);
    }
    out.resize(static_cast<std::size_t>(out_size));
    return out;
}
#else
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
#endif

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

std::string file_error_line(int error_number, const std::string& file_name) {
    return "BLANKIMG: " + file_name + ": " + std::strerror(error_number) + "\n";
}

bool stamped_during(image::DosStamp stamp, std::time_t first, std::time_t last, Zone zone) {
    for (std::time_t t = first; t <= last; ++t) {
        std::tm broken_down{};
#ifdef _WIN32
        const bool converted = (zone == Zone::local ? ::localtime_s(&broken_down, &t)
                                                    : ::gmtime_s(&broken_down, &t)) == 0;
#else
        const bool converted = (zone == Zone::local ? ::localtime_r(&t, &broken_down)
                                                    : ::gmtime_r(&t, &broken_down)) != nullptr;
#endif
        const image::DosStamp at = image::dos_stamp_from_tm(broken_down);
        if (converted && at.time == stamp.time && at.date == stamp.date) {
            return true;
        }
    }
    return false;
}

}  // namespace support
