// SPDX-License-Identifier: MIT
#include "expected_console.hpp"

#include "test_support.hpp"

namespace expected {

std::string banner_and_start() {
    return support::cp932("BLANKIMG V0.02: 中身が空の OS-ROM形式ファイルの創成\n"
                          "既存のファイルは上書きせず、書きかけのファイルは残しません。\n"
                          "\n"
                          "BLANKIMG: ファイル BLANKIMG.ROM を創成(新規に作成)します。\n");
}

std::string completed() {
    return support::cp932("BLANKIMG: 正常に終了しました。\n");
}

std::string create_failed() {
    return support::cp932("BLANKIMG: ファイルの創成に失敗しました。\n");
}

std::string write_failed() {
    return support::cp932("BLANKIMG: ファイルの書き出しに失敗しました。\n");
}

std::string partial_file_kept() {
    return support::cp932(
        "BLANKIMG: 書きかけのファイル BLANKIMG.ROM を削除できず、残っています。\n");
}

}  // namespace expected
