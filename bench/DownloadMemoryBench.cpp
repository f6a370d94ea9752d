// Peak resident memory of stationlink-cli downloading a generated job from
// an unpaced x4sim: a raw download writes each line through, so its peak
// should not grow with the number of lines. Baseline: the same program only
// connecting ("list"), measured in the same run; a "CASS" download of the
// same job, which keeps the whole job until its end, for contrast.
// Usage: download_memory_bench [LINES...]   (default 10000 100000)

#include "SimProcess.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path WriteContent(long lines) {
    const fs::path dir = fs::temp_directory_path() /
                         ("x4membench-" + std::to_string(::getpid()) + "-" + std::to_string(lines));
    fs::create_directories(dir / "data/JOB/1");
    std::ofstream(dir / "identity.txt") << "13....+000000000X4 1207\n";
    std::ofstream(dir / "jobs.txt") << "IN:BENCH,1," << lines << ",0\n";
    std::ofstream data(dir / "data/JOB/1/COORDS.GSI", std::ios::binary);
    char line[160];
    for (long i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line,
                      "*11%04ld+%016ld 81..00+%016ld 82..00+%016ld 83..00+%016ld \n", i % 10000, i,
                      1000000 + i, 2000000 + i, 300000 + i % 1000);
        data << line;
    }
    return dir;
}

// Runs stationlink-cli with args; its peak resident memory in KiB, -1 on failure.
long PeakKib(const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(STATIONLINK_CLI)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(STATIONLINK_CLI, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::atol(argv[i]));
    }
    if (counts.empty()) {
        counts = {10000, 100000};
    }
    const fs::path out =
        fs::temp_directory_path() / ("x4membench-out-" + std::to_string(::getpid()));
    fs::create_directories(out);
    std::printf("%10s %14s %14s %14s\n", "lines", "list KiB", "raw KiB", "CASS KiB");
    for (const long lines : counts) {
        const fs::path content = WriteContent(lines);
        SimProcess sim({"--data", content.string()});
        ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
        const std::string job = "JobList:1 [IN:BENCH]";
        const long list = PeakKib({"list", "COM1"});
        const long raw = PeakKib({"download", "COM1", "JOB", job, "--to", out.string() + "/",
                                  "--part", "COORDS", "--type", "GSI"});
        const long cass = PeakKib({"download", "COM1", "JOB", job, "--to", out.string() + "/",
                                   "--part", "COORDS", "--type", "CASS"});
        const auto size = fs::file_size(out / "BENCH.gsi");
        std::printf("%10ld %14ld %14ld %14ld   (raw file %ju bytes)\n", lines, list, raw, cass,
                    static_cast<std::uintmax_t>(size));
        fs::remove_all(content);
    }
    fs::remove_all(out);
    return 0;
}
