// Receiving and sending through legacyxfer's core against x4sim's simple
// mode paced at 115200 baud, each next to a bare baseline in the same run
// (a raw reader, a raw writer on the same kind of line). Reports the share
// of the wire limit (10 bit times per byte) each reaches.
//   legacyxfer_bench [KBYTES]
#include "SimProcess.h"
#include "legacyxfer/CaptureSession.h"
#include "legacyxfer/SendSession.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

constexpr long kBaud = 115200;

std::string Job(std::size_t bytes) {
    std::string job;
    for (int n = 1; job.size() < bytes; ++n) {
        char line[128];
        std::snprintf(line, sizeof line, "*11%04d+%016d 81..00+%016d 82..00+%016d \r\n", n % 10000,
                      n, n * 7, n * 13);
        job += line;
    }
    return job;
}

double WireSeconds(std::size_t bytes) {
    return static_cast<double>(bytes) * 10.0 / kBaud;
}

int OpenRaw(const std::string& device, bool xonxoff) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    if (xonxoff) {
        raw.c_iflag |= IXON;
    }
    ::tcsetattr(fd, TCSANOW, &raw);
    return fd;
}

// From the first byte to the last, as the instrument sends the job.
double ReceiveBaseline(const std::string& file, std::size_t size) {
    SimProcess sim({"--legacy-send", file, "--delay", "0.5", "--baud", std::to_string(kBaud)});
    const int fd = OpenRaw(sim.Device(), false);
    std::size_t got = 0;
    steady_clock::time_point first{};
    char buffer[4096];
    while (got < size) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        if (got == 0) {
            first = steady_clock::now();
        }
        got += static_cast<std::size_t>(n);
    }
    const double seconds = duration<double>(steady_clock::now() - first).count();
    ::close(fd);
    return seconds;
}

double ReceiveCore(const std::string& file, std::size_t size, const std::string& out) {
    SimProcess sim({"--legacy-send", file, "--delay", "0.5", "--baud", std::to_string(kBaud)});
    LinePreset preset = LinePreset::BuiltIn().front();
    CaptureSession session({sim.Device(), preset, out, true});
    if (!session.Start().empty()) {
        return -1;
    }
    steady_clock::time_point first{};
    while (session.Counts().bytes < size) {
        session.Poll(milliseconds(1));
        if (first == steady_clock::time_point{} && session.Receiving()) {
            first = steady_clock::now();
        }
    }
    const double seconds = duration<double>(steady_clock::now() - first).count();
    session.Stop();
    session.Finish();
    return seconds;
}

// From the start until the instrument has stored every byte.
template <typename Send>
double SendTimed(std::size_t size, const fs::path& store, Send send) {
    fs::remove_all(store);
    SimProcess sim({"--legacy-receive", store.string(), "--baud", std::to_string(kBaud)});
    const auto start = steady_clock::now();
    send(sim.Device());
    const fs::path received = store / "received.txt";
    std::error_code error;
    while (fs::file_size(received, error) < size) {
        std::this_thread::sleep_for(microseconds(200));
    }
    return duration<double>(steady_clock::now() - start).count();
}

void Report(const char* what, std::size_t size, double baseline, double ours) {
    const double wire = WireSeconds(size);
    std::printf("%-8s %zu bytes: wire %.3f s, baseline %.3f s (%.3f of wire), legacyxfer %.3f s "
                "(%.3f of wire, %.3f of baseline)\n",
                what, size, wire, baseline, wire / baseline, ours, wire / ours, baseline / ours);
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t size = (argc > 1 ? std::stoul(argv[1]) : 48) * 1024;
    const fs::path dir =
        fs::temp_directory_path() / ("legacyxfer-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string job = Job(size);
    const std::string file = (dir / "job.gsi").string();
    std::ofstream(file, std::ios::binary) << job;

    Report("receive", job.size(), ReceiveBaseline(file, job.size()),
           ReceiveCore(file, job.size(), (dir / "got.gsi").string()));

    const double baseline = SendTimed(job.size(), dir / "raw", [&](const std::string& device) {
        const int fd = OpenRaw(device, true);
        for (std::size_t at = 0; at < job.size();) {
            const ssize_t n = ::write(fd, job.data() + at, job.size() - at);
            at += static_cast<std::size_t>(std::max<ssize_t>(n, 0));
        }
        ::close(fd);
    });
    const double ours = SendTimed(job.size(), dir / "core", [&](const std::string& device) {
        SendSession session({device, LinePreset::BuiltIn().front(), file,
                             SendSession::Pacing::XonXoff, milliseconds(0)});
        if (session.Start().empty()) {
            session.Run([](std::uint64_t, std::uint64_t) {}, [] { return false; });
        }
    });
    Report("send", job.size(), baseline, ours);
    fs::remove_all(dir);
    return 0;
}
