// Point-file conversion throughput on generated GSI-16 data of a "CASS"
// download, on a large and a small buffer. The floor is a plain memchr line
// count over the same buffer, measured in the same run.
// Usage: cass_convert_bench [LARGE_MB] [SMALL_MB]   (default 200 and 2)

#include "CountingSink.h"
#include "GsiWord.h"
#include "Median.h"

#include "transfer/ByteSink.h"
#include "transfer/CassConversion.h"
#include "transfer/DestinationFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 5;
constexpr double kMegabyte = 1e6;

// Header lines, then a code block before every 20 points, as the instrument
// sends a coordinate job in GSI-16.
std::string Generate(std::size_t bytes) {
    std::mt19937_64 random(42);
    std::string data = "JOB,BENCH,1,COORDS,GSI,0\r\n\r\n\r\n";
    data.reserve(bytes + 256);
    for (int point = 1; data.size() < bytes; ++point) {
        char head[32];
        if (point % 20 == 1) {
            std::snprintf(head, sizeof head, "*41%04d+%016d ", point % 10000, point % 97);
            data.append(head).append("\r\n");
        }
        std::snprintf(head, sizeof head, "*11%04d+%016d ", point % 10000, point);
        data.append(head);
        data.append(bench::GsiWord16("81..00", static_cast<std::int64_t>(random() % 9000000000) -
                                                   1000000000));
        data.append(bench::GsiWord16("82..00", static_cast<std::int64_t>(random() % 9000000000)));
        data.append(
            bench::GsiWord16("83..00", static_cast<std::int64_t>(random() % 2000000) - 1000000));
        data.append("\r\n");
    }
    return data;
}

// Median seconds of one call, each round timing enough calls for 0.2 s.
double Time(const std::function<void()>& work) {
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        int calls = 0;
        const auto start = Clock::now();
        double elapsed = 0;
        do {
            work();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < 0.2);
        rounds.push_back(elapsed / calls);
    }
    return bench::Median(std::move(rounds));
}

struct Figures {
    double baseline;   // seconds per pass
    double convert;    // seconds per conversion into memory
    double toFile;     // seconds per conversion through the file writer into /dev/null
    std::size_t bytes; // buffer size
};

Figures Measure(std::size_t bytes) {
    const std::string data = Generate(bytes);
    volatile std::size_t lines = 0;
    Figures figures{};
    figures.bytes = data.size();
    figures.baseline = Time([&] {
        std::size_t count = 0;
        for (const char* at = data.data();
             (at = static_cast<const char*>(std::memchr(at, '\n', data.data() + data.size() - at)));
             ++at) {
            ++count;
        }
        lines = count;
    });
    bench::CountingSink counter;
    const std::string scratch =
        (std::filesystem::temp_directory_path() / "cass_convert_bench.dat").string();
    figures.convert = Time([&] {
        counter.count = 0;
        CassConversion(counter).Convert(data);
    });
    figures.toFile = Time([&] {
        DestinationFile file(scratch, DestinationFile::IfExists::Replace);
        file.Create();
        CassConversion(file).Convert(data);
        file.Commit();
    });
    std::filesystem::remove(scratch);
    std::printf("%8.1f MB: %zu point-file bytes; MB/s: memchr %.0f, convert %.0f, "
                "convert to file %.0f; convert / memchr time %.1f\n",
                data.size() / kMegabyte, counter.count, data.size() / kMegabyte / figures.baseline,
                data.size() / kMegabyte / figures.convert, data.size() / kMegabyte / figures.toFile,
                figures.convert / figures.baseline);
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    const double largeMb = argc > 1 ? std::atof(argv[1]) : 200;
    const double smallMb = argc > 2 ? std::atof(argv[2]) : 2;
    const Figures small = Measure(static_cast<std::size_t>(smallMb * kMegabyte));
    const Figures large = Measure(static_cast<std::size_t>(largeMb * kMegabyte));
    const auto perByte = [](double seconds, std::size_t bytes) { return seconds / bytes; };
    std::printf("time per byte, large / small: convert %.2f, convert to file %.2f, memchr %.2f\n",
                perByte(large.convert, large.bytes) / perByte(small.convert, small.bytes),
                perByte(large.toFile, large.bytes) / perByte(small.toFile, small.bytes),
                perByte(large.baseline, large.bytes) / perByte(small.baseline, small.bytes));
    return 0;
}
