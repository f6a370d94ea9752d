// Opening a GSI-16 job in coordbook and sorting its points by name, from
// 10,000 to 1,000,000 points. The job is written by the suite's own writer
// with names in shuffled order and a code block every 20 points. "open" is
// what the user waits for: the file read into a book and its page made
// (table model with the duplicate-name count, sort and filter proxy, plan
// of every point), offscreen; "sort" is a click on the Name header, the
// table's proxy sorting every row in name order. Best of the rounds, with
// the time per point, which should stay flat as the points grow.
// Usage: coordbook_bench [ROUNDS] [POINTS...]   (default 3; 10000 100000 1000000)

#include "coordbook/BookLoader.h"
#include "coordbook/BookPage.h"
#include "fielddata/GsiJobWriter.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPointsPerCode = 20;

void WriteJob(const fs::path& path, long count) {
    std::vector<long> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::mt19937_64 random(42);
    std::shuffle(numbers.begin(), numbers.end(), random);
    std::ofstream out(path, std::ios::binary);
    GsiJobWriter writer(GsiWidth::Gsi16);
    std::string blocks;
    SurveyPoint point;
    point.places = 3;
    for (long i = 0; i < count; ++i) {
        point.name = "P" + std::to_string(numbers[static_cast<std::size_t>(i)]);
        point.code = "C" + std::to_string(i / kPointsPerCode % 37);
        point.east = 500000 + static_cast<double>(random() % 90000000) / 1000;
        point.north = 5600000 + static_cast<double>(random() % 90000000) / 1000;
        point.height = static_cast<double>(random() % 900000) / 1000;
        blocks.clear();
        writer.AppendPoint(point, blocks);
        out << blocks;
    }
}

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

struct Times {
    double read = 1e30; // the part of open that reads the file into a book
    double open = 1e30;
    double sort = 1e30;
};

Times Round(const fs::path& job, long count) {
    Times times;
    const auto start = Clock::now();
    auto loaded = BookLoader::Load(job.string());
    times.read = Seconds(start);
    if (!loaded.book || static_cast<long>(loaded.book->Rows()) != count) {
        std::fprintf(stderr, "coordbook_bench: %s did not open whole\n", job.c_str());
        std::exit(1);
    }
    BookPage page(std::move(loaded.book), QString::fromStdString(job.string()));
    times.open = Seconds(start);
    const auto sorting = Clock::now();
    page.Table()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    times.sort = Seconds(sorting);
    if (page.Table()->model()->index(0, 0).data().toString() != QStringLiteral("P1")) {
        std::fprintf(stderr, "coordbook_bench: the sort did not put P1 first\n");
        std::exit(1);
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<long> counts;
    for (int i = 2; i < argc; ++i) {
        counts.push_back(std::atol(argv[i]));
    }
    if (counts.empty()) {
        counts = {10000, 100000, 1000000};
    }
    const fs::path folder =
        fs::temp_directory_path() / ("coordbook-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::printf("%9s %10s %10s %12s %10s %12s %9s\n", "points", "read s", "open s", "open us/pt",
                "sort s", "sort us/pt", "peak MB");
    for (const long count : counts) {
        const fs::path job = folder / "job.gsi";
        WriteJob(job, count);
        Times best;
        for (int round = 0; round < rounds; ++round) {
            const Times times = Round(job, count);
            best.read = std::min(best.read, times.read);
            best.open = std::min(best.open, times.open);
            best.sort = std::min(best.sort, times.sort);
        }
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("%9ld %10.3f %10.3f %12.2f %10.3f %12.2f %9.0f\n", count, best.read, best.open,
                    best.open * 1e6 / static_cast<double>(count), best.sort,
                    best.sort * 1e6 / static_cast<double>(count),
                    static_cast<double>(usage.ru_maxrss) / 1024);
        std::fflush(stdout);
    }
    fs::remove_all(folder);
    return 0;
}
