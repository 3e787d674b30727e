// SPDX-License-Identifier: MIT
// What the program must print, converted from the texts' UTF-8 spelling.
#pragma once

#include <string>

namespace expected {

std::string banner_and_start();
std::string completed();
std::string create_failed();
std::string write_failed();
std::string partial_file_kept();

}  // namespace expected
