// Uploads a large job to x4sim through the same plan and link as
// stationlink-cli upload, over a termios port paced like a real line
// (x4sim --baud 115200), and reports the share of the wire limit reached:
// bytes both ways x 10 bits / baud over the elapsed time of the upload,
// without and with the traffic log written, and against a bare client that
// replays the logged upload (what the machine and x4sim allow any program).
// Usage: upload_bench [LINES]   (default 20000 lines)

#include "BareClient.h"
#include "CountingSession.h"
#include "SimProcess.h"

#include "catalogue/UploadPlan.h"
#include "platform/CodePage.h"
#include "platform/ComPortMap.h"
#include "platform/TrafficLog.h"
#include "transfer/UploadFileReader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr long kBaud = 115200;

// GSI-16 point blocks, each with its own numbers.
fs::path WriteJob(int count) {
    const fs::path path = fs::temp_directory_path() / ("x4upload-" + std::to_string(::getpid()));
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        char line[160];
        std::snprintf(
            line, sizeof line, "*11%04d+%016d 81..00+%016ld 82..00+%016ld 83..00+%016ld \r\n",
            (i + 1) % 10000, i + 1, 1000000L + 37L * i, 2000000L + 53L * i, 300000L + (i % 997));
        out << line;
    }
    return path;
}

// One upload of the file to a fresh x4sim, the traffic log written when
// given; the share of the wire limit, 0 when not every line went.
double UploadOnce(const fs::path& file, int count, const std::shared_ptr<TrafficLog>& log) {
    SimProcess sim({"--baud", std::to_string(kBaud)});
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
    CountingSession link;
    PortSettings settings = PortSettings::Defaults(u"COM1");
    settings.baudRate = u"115200";
    if (!link.Open(settings) || !link.Connect(60s)) {
        std::fprintf(stderr, "cannot connect: %s %s\n", link.LastPortError().c_str(),
                     link.Error().c_str());
        return 0;
    }
    link.SetTrafficLog(log); // the upload's conversation alone, for the bare client
    const auto plan = UploadPlan::Prepare(link.Model(), {u"JOB", u"JobList:1 [IN:BRIDGE]"});
    const UploadFile read = UploadFileReader(CodePage::Wire()).ReadLocal(file.string());
    const auto decision = UploadPlan::Decide(*plan, u"", read, plan->fileName, u"GSI", true);
    if (!decision.request) {
        std::fprintf(stderr, "refused\n");
        return 0;
    }
    link.ResetCounts();
    const auto start = Clock::now();
    const bool done = link.Upload(*decision.request, "bench", 60s);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long bytes = link.Bytes();
    const double wireSeconds = static_cast<double>(bytes) * 10.0 / kBaud;
    std::printf("paced %ld baud%s: %zu of %d lines, %ld bytes both ways in %.2f s; wire time "
                "%.2f s; share of the wire limit %.3f (target >= 0.95)\n",
                kBaud, log ? ", traffic log on" : "", link.UploadSteps(), count, bytes, seconds,
                wireSeconds, wireSeconds / seconds);
    return done && link.UploadSteps() == static_cast<std::size_t>(count) ? wireSeconds / seconds
                                                                         : 0;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const fs::path file = WriteJob(count);
    const fs::path logFile = file.string() + ".log";
    const double plain = UploadOnce(file, count, nullptr);
    const double logged = UploadOnce(file, count, std::make_shared<TrafficLog>(logFile.string()));
    const bool bare =
        logged > 0 && bench::BareClient::Compare("upload", logFile.string(),
                                                 {"--baud", std::to_string(kBaud)}, kBaud, plain);
    fs::remove(file);
    fs::remove(logFile);
    return plain > 0 && bare ? 0 : 1;
}
