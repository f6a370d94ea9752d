#include "SimProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

std::string SimProcess::Program() {
    return X4SIM_PROGRAM;
}

SimProcess::SimProcess(const std::vector<std::string>& options) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> args{Program()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    pollfd in{out[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&in, 1, 20000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') {
        device_ += c;
    }
    ::close(out[0]);
}

SimProcess::~SimProcess() {
    Stop();
}

void SimProcess::Pause(bool paused) {
    if (pid_ > 0) {
        ::kill(pid_, paused ? SIGSTOP : SIGCONT);
    }
}

int SimProcess::Stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGCONT); // a held simulator takes its SIGTERM too
    ::kill(pid_, SIGTERM);
    const int status = WaitExit();
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    return status;
}

int SimProcess::WaitExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}
