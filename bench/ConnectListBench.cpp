// Connects to an x4sim instrument holding many jobs (unpaced) and measures,
// per list line, the connect's wall time in the window and, as the baseline
// of the same run, without a window (the session alone, as stationlink-cli
// runs it), with the time the window thread spends on the tree's changes the
// session hands it and the session's own time per reply. The window's share
// of the wire time a line takes at 115200 baud is the figure that matters.
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
#include <QEvent>

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
    double inProgram = 0; // seconds inside OnDeviceReply (the session alone)
    double onWindow = 0;  // seconds the window thread spent on the session's calls
    long lines = 0;
    long bytes = 0;  // list line bytes received
    double wall = 0; // expand to "INICOMD"
};

// Adds up the time spent in OnDeviceReply for the list lines.
class TimedSession : public TransferSession {
public:
    using TransferSession::TransferSession;
    Timing timing;

    int OnDeviceReply(const char* tag, const char* line, int length) override {
        const auto start = Clock::now();
        const int result = TransferSession::OnDeviceReply(tag, line, length);
        timing.inProgram += std::chrono::duration<double>(Clock::now() - start).count();
        if (line != nullptr) {
            ++timing.lines;
            timing.bytes += length;
        }
        return result;
    }
};

// The window's tree, timing the queued calls of its session on the window thread.
class TimedView : public CLeftView {
public:
    using CLeftView::CLeftView;
    Timing timing;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::MetaCall) {
            return CLeftView::event(event);
        }
        const auto start = Clock::now();
        const bool result = CLeftView::event(event);
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

Timing RunWindow(std::string& listing) {
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
    QApplication::processEvents();
    listing = view.Session().Listing().Print();
    port->setExpanded(false);
    return view.timing;
}

Timing RunModelOnly(std::string& listing) {
    TimedSession link(Termios());
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
    listing = link.Listing().Print();
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

    std::vector<double> onWindow, model, windowWall, modelWall;
    Timing last;
    for (int round = 0; round < rounds; ++round) {
        std::string shown;
        std::string listed;
        const Timing w = RunWindow(shown);
        const Timing m = RunModelOnly(listed);
        // Both read the same instrument: the lines are the session's count.
        const auto lines = static_cast<double>(m.lines);
        onWindow.push_back(w.onWindow / lines);
        model.push_back(m.inProgram / lines);
        windowWall.push_back(w.wall / lines);
        modelWall.push_back(m.wall / lines);
        if (shown != listed) {
            std::fprintf(stderr,
                         "the window's session listed other lines than the session alone\n");
            return 1;
        }
        last = m;
    }
    fs::remove_all(content);

    // A list line costs its own bytes from the instrument and "?\r\n" to it.
    const double bytesPerLine =
        static_cast<double>(last.bytes) / static_cast<double>(last.lines) + 3;
    const double wirePerLine = bytesPerLine * 10 / kBaud;
    const double w = bench::Median(windowWall);
    const double m = bench::Median(modelWall);
    std::printf(
        "list lines per connect: %ld (%d jobs), %.1f bytes per exchange, %d rounds (median)\n",
        last.lines, jobs, bytesPerLine, rounds);
    std::printf("connect wall time per line: window %.1f us, model only %.1f us (%.2fx)\n", w * 1e6,
                m * 1e6, w / m);
    std::printf("  the session's own time per reply: %.1f us; the window thread's work on the "
                "tree per line: %.1f us\n",
                bench::Median(model) * 1e6, bench::Median(onWindow) * 1e6);
    std::printf("wire time per line at 115200 baud: %.1f us; the window adds %.2f%% of it\n",
                wirePerLine * 1e6, 100 * (w - m) / wirePerLine);
    return 0;
}
