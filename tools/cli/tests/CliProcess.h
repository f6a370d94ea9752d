#pragma once

#include <csignal>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// Runs the stationlink-cli program as a child process, as a user or a
// script would, with its standard error on a pipe or on a pseudo-terminal
// (then the program sees a terminal there), and collects what it writes
// there. Its standard output is discarded.
class CliProcess {
public:
    enum class Errors { Pipe, Terminal };

    explicit CliProcess(const std::vector<std::string>& args, Errors errors = Errors::Pipe);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Ctrl+C.
    void Interrupt(int signal = SIGINT);
    // Ctrl+C once the file holds that many lines (a download under way).
    void InterruptOnceFileHolds(const std::filesystem::path& file, std::size_t lines);
    // The exit status; -1 when it did not end in time or did not exit.
    int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Everything written to standard error (complete once Wait returned).
    std::string ErrorText() const;

private:
    void Collect(int fd);

    pid_t pid_ = -1;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::string errors_;
};
