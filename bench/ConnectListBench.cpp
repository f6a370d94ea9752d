// Connects to an x4sim instrument holding many jobs (unpaced) and measures the
// time the program spends per list line, from the engine's report to its
// return: in the window (hand-over to the window thread, dispatch, model and
// tree) and, as the baseline of the same run, without a window (dispatch and
// model into the in-memory listing of stationlink-cli). The window's share of
// the wire time a line takes at 115200 baud is the figure that matters.
// Usage: connect_list_bench [JOBS] [ROUNDS] [--paced]   (default 5000 jobs, 3 rounds,
// unpaced)

#include "Median.h"
#include "SimProcess.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"
#include "session/TransferSession.h"
#include "workbench/CLeftView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kBaud = 115200;

struct Timing {
    double inProgram = 0; // seconds inside OnDeviceReply
    double onWindow = 0;  // of that, seconds the window thread spent on the reply
    long lines = 0;
    long bytes = 0;  // list line bytes received
    double wall = 0; // expand to "INICOMD"
};

// Adds up the time spent in OnDeviceReply for the list lines.
template <typename Base>
class Timed : public Base {
public:
    using Base::Base;
    Timing timing;

    int OnDeviceReply(const char* tag, const char* line, int length) override {
        const auto start = Clock::now();
        const int result = Base::OnDeviceReply(tag, line, length);
        timing.inProgram += std::chrono::duration<double>(Clock::now() - start).count();
        if (line != nullptr) {
            ++timing.lines;
            timing.bytes += length;
        }
        return result;
    }
};

// The window's tree, also timing its handling of each reply on the window thread.
class TimedView : public Timed<CLeftView> {
public:
    using Timed<CLeftView>::Timed;

protected:
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override {
        const auto start = Clock::now();
        const LResult result = CLeftView::OnUserMessage(message, wParam, lParam);
        timing.onWindow += std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    }
};

fs::path WriteContent(int jobs) {
    const fs::path dir = fs::temp_directory_path() / ("x4listbench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "identity.txt") << "13....+000000000X4 1207\n";
    std::ofstream list(dir / "jobs.txt");
    for (int i = 1; i <= jobs; ++i) {
        list << "IN:JOB" << i << "," << i << "," << (i % 500) + 1 << "," << (i % 300)
             << ",2024-05-14,09:31\n";
    }
    std::ofstream(dir / "codes.txt") << "TOPO,1,12\n";
    std::ofstream(dir / "formats.txt") << "GSI,0,GSI-16 blocks\nIDEX,1,IDEX database\n";
    return dir;
}

CQelComDll::Creator Termios() {
    return [] { return std::make_unique<TermiosSerialPro>(); };
}

Timing RunWindow() {
    TimedView view(nullptr, PortList::System(), Termios());
    view.resize(600, 800);
    view.show();
    view.OnInitialUpdate();
    QTreeWidgetItem* port = view.RootItem()->child(0);
    QElapsedTimer wall;
    wall.start();
    port->setExpanded(true);
    while (view.WaitDialog() != nullptr && wall.elapsed() < 600000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    view.timing.wall = wall.elapsed() / 1000.0;
    port->setExpanded(false);
    return view.timing;
}

Timing RunModelOnly() {
    Timed<TransferSession> link(Termios());
    if (!link.Open(PortSettings::Defaults(u"COM1"))) {
        std::fprintf(stderr, "cannot open: %s\n", link.LastPortError().c_str());
        std::exit(1);
    }
    const auto start = Clock::now();
    if (!link.Connect(std::chrono::seconds(60))) {
        std::fprintf(stderr, "connect failed: %s\n", link.Error().c_str());
        std::exit(1);
    }
    link.timing.wall = std::chrono::duration<double>(Clock::now() - start).count();
    link.ClosePort();
    return link.timing;
}

} // namespace

int main(int argc, char** argv) {
    const int jobs = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    // --paced: x4sim sends at 115200 baud, as a real line would.
    const bool paced = argc > 3 && std::string(argv[3]) == "--paced";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const fs::path content = WriteContent(jobs);
    std::vector<std::string> options{"--data", content.string()};
    if (paced) {
        options.insert(options.end(), {"--baud", "115200"});
    }
    SimProcess sim(options);
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);

    std::vector<double> window, onWindow, model, windowWall, modelWall;
    Timing last;
    for (int round = 0; round < rounds; ++round) {
        const Timing w = RunWindow();
        const Timing m = RunModelOnly();
        window.push_back(w.inProgram / static_cast<double>(w.lines));
        onWindow.push_back(w.onWindow / static_cast<double>(w.lines));
        model.push_back(m.inProgram / static_cast<double>(m.lines));
        windowWall.push_back(w.wall / static_cast<double>(w.lines));
        modelWall.push_back(m.wall / static_cast<double>(m.lines));
        if (w.lines != m.lines) {
            std::fprintf(stderr, "line counts differ: window %ld, model %ld\n", w.lines, m.lines);
            return 1;
        }
        last = w;
    }
    fs::remove_all(content);

    // A list line costs its own bytes from the instrument and "?\r\n" to it.
    const double bytesPerLine =
        static_cast<double>(last.bytes) / static_cast<double>(last.lines) + 3;
    const double wirePerLine = bytesPerLine * 10 / kBaud;
    const double w = bench::Median(window);
    const double m = bench::Median(model);
    std::printf(
        "list lines per connect: %ld (%d jobs), %.1f bytes per exchange, %d rounds (median)\n",
        last.lines, jobs, bytesPerLine, rounds);
    std::printf("time in the program per line: window %.1f us, model only %.1f us (%.2fx)\n",
                w * 1e6, m * 1e6, w / m);
    std::printf("  of the window's time, its thread's work on the reply: %.1f us (the rest is the "
                "hand-over between threads)\n",
                bench::Median(onWindow) * 1e6);
    std::printf("connect wall time per line:    window %.1f us, model only %.1f us\n",
                bench::Median(windowWall) * 1e6, bench::Median(modelWall) * 1e6);
    std::printf(
        "wire time per line at 115200 baud: %.1f us; window's share %.2f%% (model only %.2f%%)\n",
        wirePerLine * 1e6, 100 * w / wirePerLine, 100 * m / wirePerLine);
    return 0;
}
