#include "CliProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

CliProcess::CliProcess(const std::vector<std::string>& args, Errors errors) {
    int read = -1;
    int write = -1;
    if (errors == Errors::Terminal) {
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&read, &write, nullptr, &raw, nullptr) != 0) {
            return;
        }
    } else {
        int ends[2];
        if (::pipe(ends) != 0) {
            return;
        }
        read = ends[0];
        write = ends[1];
    }
    ::fcntl(read, F_SETFD, FD_CLOEXEC);
    std::vector<std::string> all{STATIONLINK_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, write, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, write);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(write);
    reader_ = std::thread([this, read] { Collect(read); });
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (reader_.joinable()) {
        reader_.join();
    }
}

// Until the program's end closes the pipe (a pseudo-terminal says EIO).
void CliProcess::Collect(int fd) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        std::lock_guard lock(mutex_);
        errors_.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
}

void CliProcess::Interrupt(int signal) {
    if (pid_ > 0) {
        ::kill(pid_, signal);
    }
}

void CliProcess::InterruptOnceFileHolds(const std::filesystem::path& file, std::size_t lines) {
    for (int i = 0; i < 2000; ++i) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        if (static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >= lines) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Interrupt();
}

int CliProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            if (reader_.joinable()) {
                reader_.join();
            }
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

std::string CliProcess::ErrorText() const {
    std::lock_guard lock(mutex_);
    return errors_;
}
