// Downloads a large job from x4sim through the link and the engine, over a
// termios port, and compares the speed with what the line allows:
//   paced (x4sim --baud 115200): share of the wire limit reached, that is
//     bytes both ways x 10 bits / baud over the elapsed time, without and
//     with the traffic log written, and through the transfer session into a
//     file as stationlink-cli download runs it; against it, a bare client
//     replaying the logged download (what the machine and x4sim allow);
//   unpaced: lines per second against a bare pseudo-terminal ping-pong of
//     the same lines, measured in the same run, and where the processor
//     time of the download goes: this program (link and engine) or x4sim.
// Usage: sim_download_bench [LINES] [--skip-paced]   (default 20000 lines)

#include "BareClient.h"
#include "CountingPort.h"
#include "CountingSession.h"
#include "JobDownload.h"
#include "Median.h"
#include "SimProcess.h"

#include "catalogue/DownloadPlan.h"
#include "platform/CodePage.h"
#include "platform/ComPortMap.h"
#include "platform/ManualResetEvent.h"
#include "platform/TermiosSerialPro.h"
#include "platform/TrafficLog.h"
#include "protocol/CKestaCom.h"
#include "protocol/ReplyTags.h"
#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr long kBaud = 115200;
constexpr int kRounds = 5;

// GSI-16 point blocks like an instrument's, each with its own numbers.
std::vector<std::string> JobLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        char line[160];
        std::snprintf(
            line, sizeof line, "*11%04d+%016d 81..00+%016ld 82..00+%016ld 83..00+%016ld \r\n",
            (i + 1) % 10000, i + 1, 1000000L + 37L * i, 2000000L + 53L * i, 300000L + (i % 997));
        lines.emplace_back(line);
    }
    return lines;
}

fs::path WriteContent(const std::vector<std::string>& lines) {
    const fs::path dir = fs::temp_directory_path() / ("x4bench-" + std::to_string(::getpid()));
    fs::create_directories(dir / "data/JOB/1");
    std::ofstream(dir / "identity.txt") << "13....+000000000X4 1207\n";
    std::ofstream(dir / "jobs.txt") << "IN:BENCH,1," << lines.size() << ",0\n";
    std::ofstream data(dir / "data/JOB/1/COORDS.GSI", std::ios::binary);
    for (const auto& line : lines) {
        data << line;
    }
    return dir;
}

class BenchLink : public CKestaCom {
public:
    BenchLink() : CKestaCom([this] { return std::make_unique<CountingPort>(sent); }) {}
    ~BenchLink() override { ShutdownWorker(); }

    int OnReceive(void* context, const char* data, int length) override {
        received += length;
        return CKestaCom::OnReceive(context, data, length);
    }
    int OnDeviceReply(const char* tag, const char* /*data*/, int /*length*/) override {
        if (std::strcmp(tag, ReplyTags::kData) == 0) {
            ++lines;
        } else if (std::strcmp(tag, ReplyTags::kTaskEnd) == 0) {
            done.Set();
        }
        return 1;
    }

    std::atomic<long> sent{0};
    std::atomic<long> received{0};
    std::atomic<long> lines{0};
    ManualResetEvent done;

protected:
    void ShowLinkMessage(const std::string& text) override {
        std::fprintf(stderr, "link: %s\n", text.c_str());
    }
    void OnLinkLost(const std::string& reason) override {
        std::fprintf(stderr, "link lost: %s\n", reason.c_str());
    }
};

struct Run {
    double seconds = 0;
    long bytes = 0;
    long lines = 0;
};

double CpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Run Download(const fs::path& content, std::vector<std::string> simOptions,
             std::shared_ptr<TrafficLog> log = {}) {
    simOptions.insert(simOptions.begin(), {"--data", content.string()});
    SimProcess sim(simOptions);
    BenchLink link;
    link.SetTrafficLog(std::move(log));
    if (!link.OpenPort(sim.Device().c_str(), "115200", "8", "0", "0")) {
        std::fprintf(stderr, "cannot open %s: %s\n", sim.Device().c_str(),
                     link.LastPortError().c_str());
        std::exit(1);
    }
    bench::JobDownload().BuildScript(link.Engine());
    const auto start = Clock::now();
    link.StartDownload();
    link.done.Wait();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    link.ClosePort();
    return {seconds, link.sent + link.received, link.lines - 1}; // the first line is the header
}

// The program's whole path: the session connects, plans the download as
// the dialog would and writes the file; only the download itself is timed.
Run SessionDownload(const fs::path& content) {
    using namespace std::chrono_literals;
    SimProcess sim({"--data", content.string(), "--baud", std::to_string(kBaud)});
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
    CountingSession link;
    PortSettings settings = PortSettings::Defaults(u"COM1");
    settings.baudRate = u"115200";
    if (!link.Open(settings) || !link.Connect(60s)) {
        std::fprintf(stderr, "cannot connect: %s\n", link.Error().c_str());
        std::exit(1);
    }
    const std::u16string line = link.Model().LineOf(u"JOB", u"JobList:1 [IN:BENCH]");
    const auto dialog = DownloadPlan::Prepare(u"JOB", line, link.Model().FormatList());
    const auto decision = DownloadPlan::Decide(
        dialog->mode, line, DownloadPlan::FolderOf(CodePage::Wire().ToWide(content.string())),
        {u"bench-session", u"GSI", u"COORDS"});
    if (!decision.request) {
        std::fprintf(stderr, "download refused\n");
        std::exit(1);
    }
    DownloadFileSink sink;
    link.ResetCounts();
    const auto start = Clock::now();
    link.Download(*decision.request, "bench", sink, 60s);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {seconds, link.Bytes(), static_cast<long>(sink.DataLines())};
}

bool ReadLine(int fd, std::string& pending) {
    char buffer[4096];
    while (pending.find("\r\n") == std::string::npos) {
        pollfd in{fd, POLLIN, 0};
        if (::poll(&in, 1, 10000) <= 0) {
            return false;
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
    }
    pending.erase(0, pending.find("\r\n") + 2);
    return true;
}

void WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

void Answer(int master, const std::vector<std::string>& lines) {
    std::string pending;
    for (const auto& line : lines) {
        if (!ReadLine(master, pending)) {
            return;
        }
        WriteAll(master, line);
    }
}

// The same exchange without simulator, link or engine: the instrument side
// answers each "?" with the next line on the master side, the PC side asks
// and reads on the raw slave side. The instrument side runs on a thread of
// this process, or (apart) in a child process as x4sim does.
Run PingPong(const std::vector<std::string>& lines, bool apart) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master);
    ::unlockpt(master);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    const auto start = Clock::now();
    std::thread instrument;
    pid_t child = -1;
    if (apart) {
        child = ::fork();
        if (child == 0) {
            Answer(master, lines);
            ::_exit(0);
        }
    } else {
        instrument = std::thread([&] { Answer(master, lines); });
    }
    std::string pending;
    long got = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        WriteAll(slave, "?\r\n");
        got += ReadLine(slave, pending) ? 1 : 0;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (apart) {
        ::waitpid(child, nullptr, 0);
    } else {
        instrument.join();
    }
    ::close(slave);
    ::close(master);
    return {seconds, 0, got};
}

} // namespace

int main(int argc, char** argv) {
    int count = 20000;
    bool withPaced = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--skip-paced") == 0) {
            withPaced = false;
        } else {
            count = std::atoi(argv[i]);
        }
    }
    const auto lines = JobLines(count);
    const fs::path content = WriteContent(lines);
    bool complete = true;

    if (withPaced) {
        const fs::path logFile = content / "traffic.log";
        double plainShare = 0;
        for (const char* how : {"", ", traffic log on", ", session and file"}) {
            const std::string_view way = how;
            const Run paced = way.empty() ? Download(content, {"--baud", std::to_string(kBaud)})
                              : way == ", session and file"
                                  ? SessionDownload(content)
                                  : Download(content, {"--baud", std::to_string(kBaud)},
                                             std::make_shared<TrafficLog>(logFile.string()));
            const double wireSeconds = static_cast<double>(paced.bytes) * 10.0 / kBaud;
            std::printf("paced %ld baud%s: %ld lines, %ld bytes both ways in %.2f s; wire time "
                        "%.2f s; share of the wire limit %.3f (target >= 0.95)\n",
                        kBaud, how, paced.lines, paced.bytes, paced.seconds, wireSeconds,
                        wireSeconds / paced.seconds);
            complete = complete && paced.lines == count;
            if (way.empty()) {
                plainShare = wireSeconds / paced.seconds;
            }
        }
        complete = complete && bench::BareClient::Compare(
                                   "download", logFile.string(),
                                   {"--data", content.string(), "--baud", std::to_string(kBaud)},
                                   kBaud, plainShare);
    }

    // The machine may be busy with other work: rounds of the baselines and
    // the download alternate, and the medians are compared.
    std::vector<double> simRates;
    std::vector<double> bareRates;
    std::vector<double> apartRates;
    double programCpu = 0;
    double simulatorCpu = 0;
    double downloadSeconds = 0;
    for (int round = 0; round < kRounds; ++round) {
        const Run bare = PingPong(lines, false);
        const Run apart = PingPong(lines, true);
        const double self = CpuSeconds(RUSAGE_SELF);
        const double children = CpuSeconds(RUSAGE_CHILDREN);
        const Run unpaced = Download(content, {});
        programCpu += CpuSeconds(RUSAGE_SELF) - self;
        simulatorCpu += CpuSeconds(RUSAGE_CHILDREN) - children;
        downloadSeconds += unpaced.seconds;
        bareRates.push_back(static_cast<double>(bare.lines) / bare.seconds);
        apartRates.push_back(static_cast<double>(apart.lines) / apart.seconds);
        simRates.push_back(static_cast<double>(unpaced.lines) / unpaced.seconds);
        complete =
            complete && bare.lines == count && apart.lines == count && unpaced.lines == count;
        std::printf("round %d: unpaced download %.0f lines/s; bare pty ping-pong %.0f lines/s "
                    "(two threads), %.0f lines/s (two processes)\n",
                    round + 1, simRates.back(), bareRates.back(), apartRates.back());
    }
    const double simRate = bench::Median(simRates);
    const double bareRate = bench::Median(bareRates);
    const double apartRate = bench::Median(apartRates);
    std::printf("unpaced: median %.0f lines/s; bare pty ping-pong %.0f lines/s (two threads): "
                "ratio %.3f (target >= 0.5); %.0f lines/s (two processes): ratio %.3f\n",
                simRate, bareRate, simRate / bareRate, apartRate, simRate / apartRate);
    std::printf("unpaced processor time over %d downloads of %.2f s in all: this program %.2f s "
                "(link, engine, receive thread), x4sim %.2f s\n",
                kRounds, downloadSeconds, programCpu, simulatorCpu);
    fs::remove_all(content);
    return complete ? 0 : 1;
}
