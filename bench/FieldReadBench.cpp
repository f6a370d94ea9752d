// Reading a GSI-16 job of observations (set-ups, then observations reduced
// to points) through the suite's field file reader, against the point-file
// conversion of the same bytes, measured in the same run. Both start from
// the file on disk (warm in the page cache): the reader reads it in chunks,
// the conversion reads it whole and converts it in memory.
// Usage: field_read_bench [BLOCKS] [ROUNDS]   (default 1000000 and 3)

#include "CountingSink.h"
#include "GsiWord.h"
#include "Median.h"

#include "fielddata/FieldFile.h"
#include "transfer/ByteSink.h"
#include "transfer/CassConversion.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kShotsPerSetUp = 50;

class PointCounter final : public PointSink {
public:
    void OnPoint(const SurveyPoint& point) override {
        ++points;
        computed += point.Computed() ? 1 : 0;
    }
    void OnSkipped(const SkippedBlock& /*block*/) override { ++skipped; }
    std::size_t points = 0;
    std::size_t computed = 0;
    std::size_t skipped = 0;
};

// A set-up every 50 blocks, the others observations with a slope distance.
void WriteJob(const fs::path& path, long blocks) {
    std::mt19937_64 random(42);
    std::ofstream out(path, std::ios::binary);
    std::string line;
    for (long block = 1; block <= blocks; ++block) {
        char name[32];
        std::snprintf(name, sizeof name, "*11%04ld+%016ld ", block % 10000, block);
        line = name;
        if (block % kShotsPerSetUp == 1) {
            line += bench::GsiWord16("84..00", static_cast<std::int64_t>(random() % 9000000000));
            line += bench::GsiWord16("85..00", static_cast<std::int64_t>(random() % 9000000000));
            line += bench::GsiWord16("86..00", static_cast<std::int64_t>(random() % 900000));
            line += bench::GsiWord16("88..00", 1500);
        } else {
            line += bench::GsiWord16("21.322", static_cast<std::int64_t>(random() % 40000000));
            line +=
                bench::GsiWord16("22.322", static_cast<std::int64_t>(8000000 + random() % 4000000));
            line += bench::GsiWord16("31..06", static_cast<std::int64_t>(random() % 3000000));
            line += bench::GsiWord16("87..00", 1300);
        }
        out << line << "\r\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    const long blocks = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const fs::path dir =
        fs::temp_directory_path() / ("field-read-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path job = dir / "job.gsi";
    WriteJob(job, blocks);
    const double megabytes = static_cast<double>(fs::file_size(job)) / 1e6;

    PointCounter counted;
    const double read = bench::MedianSeconds(rounds, [&] {
        counted = PointCounter();
        if (const auto error = FieldFile::Read(job.string(), counted)) {
            std::fprintf(stderr, "cannot read the job: %s\n", error->Text().c_str());
            std::exit(1);
        }
    });
    bench::CountingSink written;
    const double conversion = bench::MedianSeconds(rounds, [&] {
        std::ifstream in(job, std::ios::binary);
        std::string bytes(fs::file_size(job), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        written = bench::CountingSink();
        CassConversion(written).Convert(bytes);
    });
    fs::remove_all(dir);

    std::printf("job: %ld blocks, %.1f MB; %zu points (%zu computed), %zu skipped\n", blocks,
                megabytes, counted.points, counted.computed, counted.skipped);
    std::printf("field reader with reductions: %.3f s, %.1f MB/s\n", read, megabytes / read);
    std::printf("point-file conversion:        %.3f s, %.1f MB/s (%zu bytes out)\n", conversion,
                megabytes / conversion, written.count);
    std::printf("ratio reader / conversion:    %.2f (target at least 0.50)\n", conversion / read);
    return 0;
}
