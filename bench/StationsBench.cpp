// Stations of a long road (straights, clothoids, arcs both ways) at 1k,
// 100k and 1M chainages, each with an offset left and right: computed,
// written as CSV and stored in a file. Prints the time of each step and
// the cost per station (a station: one chainage with its three points).
//
//   stations_bench [DIR]      (the CSV goes to DIR, default /tmp)

#include "routebook/AlignmentFileIo.h"
#include "routebook/StationWriter.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// 20 blocks of about 1 km: straight, spiral, arc, spiral, alternating sides.
std::vector<HalElement> LongRoad() {
    HalElement start;
    start.kind = HalElement::Kind::Start;
    start.east = 500000;
    start.north = 5000000;
    start.bearing = 0.9;
    std::vector<HalElement> road{start};
    for (int block = 0; block < 20; ++block) {
        const double radius = block % 2 ? -450.0 : 600.0;
        road.push_back(HalElement::Make(HalElement::Kind::Straight, 420));
        road.push_back(HalElement::Make(HalElement::Kind::Spiral, 120, radius));
        road.push_back(HalElement::Make(HalElement::Kind::Arc, 340, radius));
        road.push_back(HalElement::Make(HalElement::Kind::Spiral, 120, radius));
    }
    return road;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const HorizontalAlignment line(LongRoad());
    const VerticalProfile profile({{-1, 100, 0}, {8000, 140, 2000}, {21000, 90, 0}});
    const double length = line.EndChainage() - line.StartChainage();
    std::printf("%10s %10s %10s %10s %10s %12s\n", "stations", "compute s", "csv s", "store s",
                "total s", "us/station");
    for (const double count : {1e3, 1e5, 1e6}) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto stations = StationTable::Build(line, &profile, length / count, 3.5, 3.5);
        const double compute = Seconds(t0);
        const auto t1 = std::chrono::steady_clock::now();
        const std::string csv = StationWriter::Csv(stations);
        const double write = Seconds(t1);
        const auto t2 = std::chrono::steady_clock::now();
        const std::string path = (std::filesystem::path(dir) / "stations-bench.csv").string();
        const std::string error = AlignmentFileIo::Write(path, csv, true);
        const double store = Seconds(t2);
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::filesystem::remove(path);
        const double total = Seconds(t0);
        const double chainages = static_cast<double>(stations.size()) / 3;
        std::printf("%10.0f %10.4f %10.4f %10.4f %10.4f %12.3f\n", chainages, compute, write, store,
                    total, total / chainages * 1e6);
    }
    return 0;
}
