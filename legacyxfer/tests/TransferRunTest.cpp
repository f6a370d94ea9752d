#include "GsiSamples.h"
#include "ProgramRun.h"
#include "SimProcess.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The surveyor presses "send" this long after x4sim starts: time enough for
// the program to open the port first.
constexpr const char* kPressSend = "1";

class TransferRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("legacyxfer-e2e-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Job(int blocks) {
        return GsiSamples::WriteFile(dir_ / "job.gsi", GsiSamples::Job(blocks));
    }

    fs::path dir_;
};

struct ReceiveCase {
    const char* baud;
    const char* chunk;
    const char* flow;
    int blocks;
};

TEST_F(TransferRunTest, ReceivedFilesEqualWhatTheInstrumentSent) {
    const std::vector<ReceiveCase> cases = {
        {"9600", "0", "NONE", 12},
        {"115200", "0", "NONE", 400},
        {"115200", "7", "XONXOFF", 60},
        {"9600", "13", "XONXOFF", 8},
    };
    for (const ReceiveCase& c : cases) {
        SCOPED_TRACE(std::string(c.baud) + " baud, chunk " + c.chunk + ", " + c.flow);
        const std::string job = Job(c.blocks);
        SimProcess sim(
            {"--legacy-send", job, "--delay", kPressSend, "--baud", c.baud, "--chunk", c.chunk});
        ASSERT_FALSE(sim.Device().empty());
        const fs::path out = dir_ / (std::string("got-") + c.baud + c.chunk + ".gsi");
        ProgramRun run({"receive", sim.Device(), "-o", out, "--baud", c.baud, "--flow", c.flow,
                        "--end-silence", "0.5", "--quiet"});
        EXPECT_EQ(run.Wait(), 0) << run.ErrorText();
        EXPECT_EQ(Read(out), Read(job));
        EXPECT_FALSE(fs::exists(out.string() + ".part"));
    }
}

TEST_F(TransferRunTest, ALostLineOrCtrlCKeepsWhatArrivedAsPart) {
    const std::string job = Job(40);
    struct EndCase {
        const char* name;
        std::vector<std::string> sim;
        bool interrupt;
        int status;
        const char* said;
    };
    const std::vector<EndCase> cases = {
        {"line lost", {"--hangup-after", "6"}, false, 1, "the line was lost"},
        {"Ctrl+C", {"--baud", "9600"}, true, 130, "cancelled"},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> options{"--legacy-send", job, "--delay", kPressSend};
        options.insert(options.end(), c.sim.begin(), c.sim.end());
        SimProcess sim(options);
        const fs::path out = dir_ / "capture.gsi";
        fs::remove(out.string() + ".part");
        ProgramRun run({"receive", sim.Device(), "-o", out, "--end-silence", "5", "--quiet"});
        if (c.interrupt) {
            std::this_thread::sleep_for(milliseconds(1800));
            run.Interrupt();
        }
        EXPECT_EQ(run.Wait(), c.status);
        EXPECT_NE(run.ErrorText().find(c.said), std::string::npos) << run.ErrorText();
        EXPECT_FALSE(fs::exists(out));
        const std::string part = Read(out.string() + ".part");
        EXPECT_FALSE(part.empty());
        EXPECT_EQ(Read(job).substr(0, part.size()), part);
        if (!c.interrupt) {
            EXPECT_EQ(part, GsiSamples::Job(6));
        }
    }
}

// The end marker ends the capture at once, long before the silence would;
// the marker is part of what was received and stays in the file.
TEST_F(TransferRunTest, AnEndMarkerEndsTheCapture) {
    const std::string job = GsiSamples::WriteFile(dir_ / "etx.gsi", GsiSamples::Job(5) + "\x03");
    SimProcess sim({"--legacy-send", job, "--delay", kPressSend});
    const fs::path out = dir_ / "etx-got.gsi";
    const auto start = steady_clock::now();
    ProgramRun run({"receive", sim.Device(), "-o", out, "--end-marker", "03", "--end-silence", "60",
                    "--quiet"});
    EXPECT_EQ(run.Wait(seconds(30)), 0) << run.ErrorText();
    EXPECT_LT(steady_clock::now() - start, seconds(20));
    EXPECT_EQ(Read(out), Read(job));
}

// The capture goes on to a point file and a drawing; the drawing is
// drawexport's, so only its arrival is checked here.
TEST_F(TransferRunTest, ACaptureBecomesAPointFileAndADrawing) {
    const std::string job = Job(4);
    SimProcess sim({"--legacy-send", job, "--delay", kPressSend});
    const fs::path out = dir_ / "site.gsi";
    ProgramRun run({"receive", sim.Device(), "-o", out, "--end-silence", "0.5", "--points",
                    dir_ / "site.dat", "--export", dir_ / "site.dxf", "--quiet"});
    EXPECT_EQ(run.Wait(), 0) << run.ErrorText();
    EXPECT_EQ(Read(out), Read(job));
    EXPECT_EQ(Read(dir_ / "site.dat").rfind("P1,1001.234,5004.321,100.001,\r\n", 0), 0U)
        << Read(dir_ / "site.dat");
    EXPECT_NE(Read(dir_ / "site.dxf").find("ENTITIES"), std::string::npos);
}

TEST_F(TransferRunTest, AnExistingFileIsKeptUnlessOverwriteIsGiven) {
    const fs::path out = GsiSamples::WriteFile(dir_ / "kept.gsi", "earlier capture");
    ProgramRun run({"receive", "/dev/null-port", "-o", out, "--quiet"});
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_NE(run.ErrorText().find("kept"), std::string::npos) << run.ErrorText();
    EXPECT_EQ(Read(out), "earlier capture");
}

TEST_F(TransferRunTest, SentFilesArriveByteForByte) {
    struct SendCase {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> pacing;
        int blocks;
    };
    const std::vector<SendCase> cases = {
        {"XON/XOFF, instrument pauses after each line",
         {"--baud", "115200", "--store-pause", "5"},
         {"--xonxoff"},
         80},
        {"delay per line", {"--baud", "9600"}, {"--line-delay", "20"}, 10},
        {"Ctrl+C", {"--baud", "9600"}, {"--line-delay", "500"}, 10},
    };
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string job = Job(c.blocks);
        const fs::path store = dir_ / "instrument";
        fs::remove_all(store);
        std::vector<std::string> options{"--legacy-receive", store};
        options.insert(options.end(), c.sim.begin(), c.sim.end());
        SimProcess sim(options);
        std::vector<std::string> args{"send", sim.Device(), job, "--baud", c.sim[1], "--quiet"};
        args.insert(args.end(), c.pacing.begin(), c.pacing.end());
        ProgramRun run(args);
        const fs::path received = store / "received.txt";
        if (c.name == std::string("Ctrl+C")) {
            std::this_thread::sleep_for(milliseconds(1200));
            run.Interrupt();
            EXPECT_EQ(run.Wait(), 130);
            EXPECT_NE(run.ErrorText().find("cancelled after"), std::string::npos)
                << run.ErrorText();
            std::this_thread::sleep_for(milliseconds(300));
            EXPECT_LT(fs::file_size(received), Read(job).size());
            continue;
        }
        EXPECT_EQ(run.Wait(), 0) << run.ErrorText();
        const auto deadline = steady_clock::now() + seconds(20);
        while (fs::file_size(received) < Read(job).size() && steady_clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(20));
        }
        EXPECT_EQ(Read(received), Read(job));
    }
}

// The PC's XOFF holds the instrument's sending until XON.
TEST_F(TransferRunTest, TheInstrumentHonoursXoffFromThePc) {
    const std::string job = Job(60);
    SimProcess sim({"--legacy-send", job, "--delay", "0.2", "--baud", "115200"});
    const int fd = ::open(sim.Device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    std::string got;
    const auto readFor = [&](milliseconds span) {
        const auto until = steady_clock::now() + span;
        char buffer[4096];
        while (steady_clock::now() < until) {
            pollfd watch{fd, POLLIN, 0};
            if (::poll(&watch, 1, 10) > 0) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                got.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            }
        }
    };
    while (got.size() < 500) {
        readFor(milliseconds(5));
    }
    ASSERT_EQ(::write(fd, "\x13", 1), 1);
    readFor(milliseconds(100)); // what was already on its way
    const std::size_t held = got.size();
    readFor(milliseconds(400));
    EXPECT_EQ(got.size(), held);
    ASSERT_EQ(::write(fd, "\x11", 1), 1);
    readFor(seconds(3));
    EXPECT_EQ(got, Read(job));
    ::close(fd);
}

} // namespace
