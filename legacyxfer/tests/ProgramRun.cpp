#include "ProgramRun.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

ProgramRun::ProgramRun(const std::vector<std::string>& args) {
    static int runs = 0;
    errorFile_ = std::filesystem::temp_directory_path() /
                 ("legacyxfer-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    std::vector<std::string> all{LEGACYXFER_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        const int err = ::open(errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(err, STDERR_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

ProgramRun::~ProgramRun() {
    Wait(std::chrono::seconds(5));
    std::filesystem::remove(errorFile_);
}

void ProgramRun::Interrupt() const {
    ::kill(pid_, SIGINT);
}

int ProgramRun::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

std::string ProgramRun::ErrorText() const {
    std::ifstream in(errorFile_);
    return {std::istreambuf_iterator<char>(in), {}};
}
