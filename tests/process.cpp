// SPDX-License-Identifier: MIT
#include "process.hpp"

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace process {

namespace {

constexpr int exec_failed = 127;

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

void fail(const char* step) {
    ::perror(step);
    ::_exit(exec_failed);
}

void redirect(int from, int to) {
    if (::dup2(from, to) < 0) {
        fail("dup2");
    }
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void start_child(const Launch& launch, int out_fd, int err_fd, char** argv,
                              char** envp) {
    const int null_fd = ::open("/dev/null", O_RDONLY);
    redirect(null_fd, STDIN_FILENO);
    redirect(out_fd, STDOUT_FILENO);
    redirect(launch.shared_streams ? out_fd : err_fd, STDERR_FILENO);
    ::close_range(3, ~0U, 0);
    if (::chdir(launch.dir.c_str()) != 0) {
        fail("chdir");
    }
    if (launch.remove_dir && ::rmdir(launch.dir.c_str()) != 0) {
        fail("rmdir");
    }
    if (launch.file_size_limit >= 0) {
        const rlimit limit{static_cast<rlim_t>(launch.file_size_limit),
                           static_cast<rlim_t>(launch.file_size_limit)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            fail("setrlimit");
        }
    }
    if (launch.drop_privileges &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobody_id) != 0 || ::setuid(nobody_id) != 0)) {
        fail("drop privileges");
    }
    ::signal(SIGXFSZ, SIG_DFL);  // as a shell would start it
    for (const int signal : launch.ignored_signals) {
        ::signal(signal, SIG_IGN);
    }
    // A quit signal must not leave a core file in the directory under test.
    const rlimit no_core{0, 0};
    if (::setrlimit(RLIMIT_CORE, &no_core) != 0) {
        fail("setrlimit");
    }
    if (launch.umask >= 0) {
        ::umask(static_cast<mode_t>(launch.umask));
    }
    if (launch.close_stdin) {
        ::close(STDIN_FILENO);
    }
    if (launch.close_stdout) {
        ::close(STDOUT_FILENO);
    }
    if (launch.close_stderr) {
        ::close(STDERR_FILENO);
    }
    ::execve(launch.program.c_str(), argv, envp);
    ::_exit(exec_failed);
}

// Pipes, not files: a file-size limit set for the child would cut its console
// output short if it went to files.
struct Pipe {
    int read_end = -1;
    int write_end = -1;
};

Pipe open_pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    return Pipe{ends[0], ends[1]};
}

// Reads both pipes to their end, whichever the child fills first.
void drain(Pipe& out, Pipe& err, std::string& out_text, std::string& err_text) {
    pollfd fds[2] = {{out.read_end, POLLIN, 0}, {err.read_end, POLLIN, 0}};
    std::string* texts[2] = {&out_text, &err_text};
    int open_count = (out.read_end >= 0) + (err.read_end >= 0);
    while (open_count > 0) {
        if (::poll(fds, 2, -1) < 0) {
            throw std::runtime_error("poll failed");
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_count;
            }
        }
    }
}

}  // namespace

Outcome run(const Launch& launch) {
    Pipe out = open_pipe();
    Pipe err = open_pipe();
    const int out_fd = launch.stdout_path.empty()
                           ? out.write_end
                           : ::open(launch.stdout_path.c_str(), O_WRONLY | O_CLOEXEC);
    if (out_fd < 0) {
        throw std::runtime_error("cannot open " + launch.stdout_path);
    }
    if (launch.unread_stdout) {
        ::close(std::exchange(out.read_end, -1));
    }

    std::vector<std::string> argv_strings{launch.program};
    argv_strings.insert(argv_strings.end(), launch.args.begin(), launch.args.end());
    std::vector<std::string> env_strings = launch.env;
    std::vector<char*> argv = pointers(argv_strings);
    std::vector<char*> envp = pointers(env_strings);

    const pid_t pid = ::fork();
    if (pid == 0) {
        start_child(launch, out_fd, err.write_end, argv.data(), envp.data());
    }
    if (out_fd != out.write_end) {
        ::close(out_fd);
    }
    ::close(out.write_end);
    ::close(err.write_end);
    if (pid > 0 && launch.kill_signal != 0) {
        ::usleep(static_cast<useconds_t>(launch.kill_after_us));
        ::kill(pid, launch.kill_signal);
    }
    Outcome outcome;
    drain(out, err, outcome.out, outcome.err);
    int wait_status = 0;
    if (pid < 0 || ::waitpid(pid, &wait_status, 0) != pid) {
        throw std::runtime_error("cannot start " + launch.program);
    }
    if (WIFEXITED(wait_status)) {
        outcome.status = WEXITSTATUS(wait_status);
    } else if (WIFSIGNALED(wait_status)) {
        outcome.signal = WTERMSIG(wait_status);
    }
    return outcome;
}

}  // namespace process
