// SPDX-License-Identifier: MIT
// Everything the program says, as Shift_JIS (code page 932) bytes: the texts
// are written unchanged whatever the terminal's encoding. Multi-byte
// characters are spelled as escapes, with the text they read as above each.
#pragma once

namespace console {

// Prefix of the error-report line, and of every message.
inline constexpr char program_name[] = "BLANKIMG";

// BLANKIMG V0.02: 中身が空の OS-ROM形式ファイルの創成
inline constexpr char banner_title[] =
    "BLANKIMG V0.02: \x92\x86\x90\x67\x82\xAA\x8B\xF3\x82\xCC OS-ROM\x8C\x60\x8E\xAE\x83\x74\x83"
    "\x40\x83\x43\x83\x8B\x82\xCC\x91\x6E\x90\xAC\n";

// 既存のファイルは上書きせず、書きかけのファイルは残しません。
inline constexpr char banner_notice[] =
    "\x8A\xF9\x91\xB6\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8F\xE3\x8F\x91\x82\xAB\x82"
    "\xB9\x82\xB8\x81\x41\x8F\x91\x82\xAB\x82\xA9\x82\xAF\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B"
    "\x82\xCD\x8E\x63\x82\xB5\x82\xDC\x82\xB9\x82\xF1\x81\x42\n";

// BLANKIMG: ファイル %s を創成(新規に作成)します。
inline constexpr char start_format[] =
    "BLANKIMG: \x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xF0\x91\x6E\x90\xAC(\x90\x56\x8B\x4B\x82"
    "\xC9\x8D\xEC\x90\xAC)\x82\xB5\x82\xDC\x82\xB7\x81\x42\n";

// BLANKIMG: ファイルの創成に失敗しました。
inline constexpr char create_failed[] =
    "BLANKIMG: \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x91\x6E\x90\xAC\x82\xC9\x8E\xB8\x94\x73"
    "\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

// BLANKIMG: ファイルの書き出しに失敗しました。
inline constexpr char write_failed[] =
    "BLANKIMG: \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x91\x82\xAB\x8F\x6F\x82\xB5\x82\xC9"
    "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

// BLANKIMG: 書きかけのファイル %s を削除できず、残っています。
// (the partly written file could not be deleted and is still there)
inline constexpr char partial_file_kept_format[] =
    "BLANKIMG: \x8F\x91\x82\xAB\x82\xA9\x82\xAF\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B %s "
    "\x82\xF0\x8D\xED\x8F\x9C\x82\xC5\x82\xAB\x82\xB8\x81\x41\x8E\x63\x82\xC1\x82\xC4\x82\xA2"
    "\x82\xDC\x82\xB7\x81\x42\n";

// BLANKIMG: 正常に終了しました。
inline constexpr char completed[] =
    "BLANKIMG: \x90\xB3\x8F\xED\x82\xC9\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n";

// Exit statuses of the run.
inline constexpr int status_success = 0;
inline constexpr int status_failure = 1;

// The banner's three lines: title, notice, and an empty line.
void say_banner();

// The start message, naming the file about to be created. It leaves with
// everything said before it, so that a run interrupted later has still told
// what it was doing.
void say_start(const char* file_name);

void say(const char* text);

// The two-line failure report: the system's text for `error_number` on
// standard error, then `message` on standard output.
void report_failure(int error_number, const char* message);

// The same for a failure that concerns one file: the system's line names
// `file_name`, and `message_format` takes it for its %s.
void report_file_failure(int error_number, const char* file_name, const char* message_format);

}  // namespace console
