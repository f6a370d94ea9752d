// drawexport against GDAL's own ogr2ogr on the same points in the same run.
// A generated GSI-16 job of N points goes through `drawexport` into a DXF
// drawing and a GeoPackage; ogr2ogr converts the same points from CSV files
// into the same formats: for the drawing, a CSV row per entity drawexport
// writes (the point, and its name, height and code labels with the same
// layers and style strings), so both write the same drawing; for the
// GeoPackage, one row per point with the same fields. A plain ogr2ogr
// drawing of the points alone is measured for reference. Every program runs
// as a child process, timed by wall clock and by processor time (user +
// system, which a machine busy with other work changes less), with its peak
// resident memory. The drawing is also written from a quarter of the points:
// drawexport's peak memory must not grow with the points.
// Usage: drawexport_bench [POINTS] [ROUNDS]   (default 1000000 and 2)

#include "fielddata/GsiJobWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kTextHeight = 0.5;
constexpr int kPointsPerCode = 20;

struct Run {
    double wall = 0; // seconds
    double cpu = 0;  // seconds, user + system
    long peakKib = 0;
};

std::vector<SurveyPoint> Points(long count) {
    std::mt19937_64 random(42);
    std::vector<SurveyPoint> points(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        SurveyPoint& point = points[static_cast<std::size_t>(i)];
        point.name = "P" + std::to_string(i + 1);
        point.code = "C" + std::to_string(i / kPointsPerCode % 37);
        point.east = 500000 + static_cast<double>(random() % 90000000) / 1000;
        point.north = 5600000 + static_cast<double>(random() % 90000000) / 1000;
        point.height = static_cast<double>(random() % 900000) / 1000;
        point.places = 3;
    }
    return points;
}

void WriteJob(const fs::path& path, const std::vector<SurveyPoint>& points) {
    std::ofstream out(path, std::ios::binary);
    GsiJobWriter writer(GsiWidth::Gsi16);
    std::string block;
    for (const SurveyPoint& point : points) {
        block.clear();
        writer.AppendPoint(point, block);
        out << block;
    }
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// The entities drawexport writes per point, as CSV rows with the DXF
// driver's Layer field and a style string for the labels.
void WriteDrawingCsv(const fs::path& path, const std::vector<SurveyPoint>& points) {
    std::ofstream out(path, std::ios::binary);
    out << "X,Y,Z,Layer,OGR_STYLE\n";
    const auto label = [&](const SurveyPoint& p, const char* layer, const std::string& text,
                           int anchor, double dy) {
        out << Number(p.east + kTextHeight / 2) << ',' << Number(p.north + dy) << ','
            << Number(*p.height) << ',' << layer << ",\"LABEL(t:\"\"" << text
            << "\"\",s:0.5g,p:" << anchor << ")\"\n";
    };
    for (const SurveyPoint& p : points) {
        out << Number(p.east) << ',' << Number(p.north) << ',' << Number(*p.height) << ',' << p.code
            << ",\n";
        label(p, "POINT_NAMES", p.name, 1, 0.35);
        label(p, "POINT_HEIGHTS", Number(*p.height), 4, 0);
        label(p, "POINT_CODES", p.code, 7, -0.35);
    }
}

void WritePointCsv(const fs::path& path, const std::vector<SurveyPoint>& points) {
    std::ofstream out(path, std::ios::binary);
    out << "X,Y,Z,name,code,height\n";
    for (const SurveyPoint& p : points) {
        out << Number(p.east) << ',' << Number(p.north) << ',' << Number(*p.height) << ',' << p.name
            << ',' << p.code << ',' << Number(*p.height) << '\n';
    }
}

// The points are made and dropped again before any program runs: a child's
// peak memory counts what its parent held when it was forked.
void WriteInputs(const fs::path& dir, long count) {
    {
        const auto points = Points(count);
        const std::vector<SurveyPoint> quarter(points.begin(), points.begin() + count / 4);
        WriteJob(dir / "job.gsi", points);
        WriteJob(dir / "quarter.gsi", quarter);
        WriteDrawingCsv(dir / "drawing.csv", points);
        WriteDrawingCsv(dir / "quarter.csv", quarter);
        WritePointCsv(dir / "points.csv", points);
    }
    ::malloc_trim(0);
}

Run Measure(const std::vector<std::string>& command) {
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : command) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        // ogr2ogr complains about fields a drawing cannot hold.
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr) {
            ::_exit(126);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", command[0].c_str());
        std::exit(1);
    }
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

struct Job {
    std::vector<std::string> command;
    fs::path output;
};

void Keep(Run& best, const Run& run) {
    best.wall = std::min(best.wall, run.wall);
    best.cpu = std::min(best.cpu, run.cpu);
    best.peakKib = std::max(best.peakKib, run.peakKib);
}

// Each job's best of some rounds, every output written afresh. The jobs
// take turns, so a change in the machine's load falls on all of them.
std::vector<Run> Compare(const std::vector<Job>& jobs, int rounds) {
    std::vector<Run> best(jobs.size(), Run{1e300, 1e300, 0});
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            fs::remove(jobs[i].output);
            Keep(best[i], Measure(jobs[i].command));
        }
    }
    return best;
}

Job Ours(const fs::path& in, const fs::path& out) {
    return {{DRAWEXPORT, in.string(), "-o", out.string(), "--overwrite"}, out};
}

Job Ogr2ogr(const std::string& format, const fs::path& out, const fs::path& csv) {
    return {{"ogr2ogr", "-f", format, out.string(), csv.string(), "-oo", "X_POSSIBLE_NAMES=X",
             "-oo", "Y_POSSIBLE_NAMES=Y", "-oo", "Z_POSSIBLE_NAMES=Z", "-oo",
             "KEEP_GEOM_COLUMNS=NO"},
            out};
}

void Report(const char* what, long points, const Run& ours, const Run& theirs) {
    std::printf("%-28s drawexport %8.0f pt/s wall %8.0f pt/s cpu %7ld KiB | ogr2ogr %8.0f pt/s "
                "wall %8.0f pt/s cpu %7ld KiB | ratio wall %.2f cpu %.2f\n",
                what, points / ours.wall, points / ours.cpu, ours.peakKib, points / theirs.wall,
                points / theirs.cpu, theirs.peakKib, theirs.wall / ours.wall,
                theirs.cpu / ours.cpu);
}

} // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
    const fs::path dir =
        fs::temp_directory_path() / ("drawexport-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    WriteInputs(dir, count);
    std::printf("%ld points: GSI-16 job %.0f MB, drawing CSV %.0f MB, point CSV %.0f MB\n", count,
                fs::file_size(dir / "job.gsi") / 1e6, fs::file_size(dir / "drawing.csv") / 1e6,
                fs::file_size(dir / "points.csv") / 1e6);

    const fs::path job = dir / "job.gsi";
    const fs::path quarterJob = dir / "quarter.gsi";
    const auto dxf = Compare(
        {Ours(job, dir / "ours.dxf"), Ogr2ogr("DXF", dir / "theirs.dxf", dir / "drawing.csv")},
        rounds);
    const auto gpkg = Compare(
        {Ours(job, dir / "ours.gpkg"), Ogr2ogr("GPKG", dir / "theirs.gpkg", dir / "points.csv")},
        rounds);
    const auto once =
        Compare({Ogr2ogr("DXF", dir / "plain.dxf", dir / "points.csv"),
                 Ours(quarterJob, dir / "quarter.dxf"),
                 Ogr2ogr("DXF", dir / "quarter-theirs.dxf", dir / "quarter.csv"),
                 Ours(job, dir / "ours.csv"), Ours(quarterJob, dir / "quarter-out.csv")},
                1);
    const Run& plainTheirs = once[0];
    const Run& small = once[1];
    const Run& smallTheirs = once[2];
    const Run& csv = once[3];
    const Run& smallCsv = once[4];

    Report("DXF, points and labels", count, dxf[0], dxf[1]);
    Report("GeoPackage", count, gpkg[0], gpkg[1]);
    Report("DXF; ogr2ogr points only", count, dxf[0], plainTheirs);
    const auto growth = [&](const Run& quarterRun, const Run& full) {
        return (full.peakKib - quarterRun.peakKib) * 1024.0 / (count - count / 4);
    };
    std::printf("peak memory, %ld and %ld points: drawexport DXF %ld and %ld KiB (%.0f bytes more "
                "per point), ogr2ogr DXF of the same entities %ld and %ld KiB (%.0f bytes), "
                "drawexport CSV %ld and %ld KiB (%.0f bytes)\n",
                count / 4, count, small.peakKib, dxf[0].peakKib, growth(small, dxf[0]),
                smallTheirs.peakKib, dxf[1].peakKib, growth(smallTheirs, dxf[1]), smallCsv.peakKib,
                csv.peakKib, growth(smallCsv, csv));
    fs::remove_all(dir);
    return 0;
}
