#include "legacyxfer/DrawExportRun.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// What the program wrote to standard error, without its last line end.
std::string Drain(int fd) {
    std::string text;
    char buffer[1024];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string DrawExportRun::BesideThisProgram() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path("drawexport") : self.parent_path() / "drawexport")
        .string();
}

DrawExportRun::Result DrawExportRun::Run(const std::string& capture, const std::string& out,
                                         bool overwrite, std::string program) {
    if (program.empty()) {
        program = BesideThisProgram();
    }
    std::vector<std::string> args{program, capture, "-o", out};
    if (overwrite) {
        args.emplace_back("--overwrite");
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return {false, std::string("cannot run drawexport: ") + std::strerror(errno)};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    const std::string said = failed == 0 ? Drain(pipe[0]) : std::string();
    ::close(pipe[0]);
    if (failed != 0) {
        return {false, "cannot start " + program + ": " + std::strerror(failed)};
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return {true, said};
    }
    return {false, said.empty() ? "drawexport failed on " + capture : said};
}
