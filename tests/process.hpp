// SPDX-License-Identifier: MIT
// Runs a program as a child process under conditions a test sets up, and
// collects what it leaves behind: exit status and both console streams.
#pragma once

#include <string>
#include <vector>

namespace process {

struct Launch {
    std::string program;            // path of the executable
    std::vector<std::string> args;  // after the program name
    std::string dir = ".";          // working directory
    std::vector<std::string> env;   // the child's whole environment, NAME=value
    long file_size_limit = -1;      // RLIMIT_FSIZE in bytes; -1: unlimited
    bool close_stdin = false;
    bool close_stdout = false;
    bool close_stderr = false;
    bool shared_streams = false;   // standard error goes into standard output's file
    std::string stdout_path;       // a device to send standard output to instead of capturing it
    bool drop_privileges = false;  // run as the unprivileged user "nobody"
    bool remove_dir = false;       // remove the (empty) working directory before starting
    bool unread_stdout = false;    // standard output is a pipe that nobody reads
    int umask = -1;                // the child's file-creation mask; -1: inherited
    std::vector<int> ignored_signals;  // started ignoring these, as nohup does
    int kill_signal = 0;               // sent by the parent kill_after_us after the start
    long kill_after_us = 0;
};

struct Outcome {
    int status = -1;  // exit status, or -1 when ended by a signal
    int signal = 0;   // the signal that ended the child, if any
    std::string out;  // standard output (and standard error with shared_streams)
    std::string err;
};

Outcome run(const Launch& launch);

// The user and group id of "nobody", for dropping privileges.
inline constexpr unsigned nobody_id = 65534;

}  // namespace process
