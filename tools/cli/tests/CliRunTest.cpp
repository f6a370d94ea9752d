// stationlink-cli as a user runs it, as a process of its own against the
// simulated instrument: its progress bar on a terminal, Ctrl+C during a
// download, an upload and an erase, and its traffic log beside the
// simulator's.

#include "CliProcess.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "TrafficReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::size_t Lines(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

// Waits until the file holds at least `lines` lines (CR LF).
bool WaitForLines(const fs::path& file, std::size_t lines) {
    for (int i = 0; i < 2000; ++i) {
        if (Lines(ReadWholeFile(file)) >= lines) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class CliRunTest : public ::testing::Test {
protected:
    void Start(std::vector<std::string> options) {
        options.insert(options.end(), {"--received", received_.string()});
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_FALSE(sim_->Device().empty());
        ::setenv("STATIONLINK_PORTS", ("COM1=" + sim_->Device()).c_str(), 1);
    }
    // The instrument answers as from idle: the next command works at once.
    void ExpectIdle() {
        CliProcess list({"list", "COM1", "--timeout", "10"});
        EXPECT_EQ(list.Wait(), 0) << list.ErrorText();
    }

    fs::path folder_ = FreshTempDir("cli-run");
    fs::path received_ = FreshTempDir("cli-run-received");
    std::unique_ptr<SimProcess> sim_;
};

} // namespace

// On a terminal the bar is redrawn in place with lines, percent, speed and
// time left, and ends at the whole; with --quiet, or when standard error is
// no terminal, nothing at all is written there.
TEST_F(CliRunTest, ProgressBarOnATerminalOnly) {
    Start({"--baud", "19200"});
    CliProcess shown({"download", "COM1", "JOB", "BRIDGE", "--to", folder_.string()},
                     CliProcess::Errors::Terminal);
    ASSERT_EQ(shown.Wait(), 0) << shown.ErrorText();
    const std::string drawn = shown.ErrorText();
    static const std::regex kBar(
        R"re(^\[([#.]{20})\]  ([0-9]+)/38 lines  ([0-9]+)%  [0-9.]+ k?B/s(  [0-9]+:[0-9]{2} left)? *$)re");
    std::size_t previous = 0;
    int drawings = 0;
    std::smatch bar;
    std::string last;
    std::stringstream parts(drawn);
    for (std::string part; std::getline(parts, part, '\r');) {
        if (part.empty() || part == "\n") {
            continue;
        }
        if (part.back() == '\n') {
            part.pop_back();
        }
        ASSERT_TRUE(std::regex_match(part, bar, kBar)) << "[" << part << "]";
        const std::size_t lines = std::stoul(bar[2]);
        EXPECT_GE(lines, previous);
        // The transfer's header announces the data lines, leading blocks
        // included (the list counts only the points).
        EXPECT_EQ(std::stoul(bar[3]), lines * 100 / 38);
        EXPECT_EQ(std::count(bar[1].first, bar[1].second, '#'), std::stoi(bar[3]) * 20 / 100);
        previous = lines;
        last = part;
        ++drawings;
    }
    EXPECT_GE(drawings, 3) << drawn;
    EXPECT_NE(last.find("38/38 lines  100%"), std::string::npos) << last;
    EXPECT_EQ(drawn.back(), '\n');

    for (const auto& [args, errors] :
         {std::pair{std::vector<std::string>{"--quiet", "--overwrite"},
                    CliProcess::Errors::Terminal},
          std::pair{std::vector<std::string>{"--overwrite"}, CliProcess::Errors::Pipe}}) {
        std::vector<std::string> run{"download", "COM1", "JOB", "BRIDGE", "--to", folder_.string()};
        run.insert(run.end(), args.begin(), args.end());
        CliProcess quiet(run, errors);
        EXPECT_EQ(quiet.Wait(), 0);
        EXPECT_EQ(quiet.ErrorText(), "");
    }
}

// Ctrl+C, a terminal's hang-up and SIGTERM stop a download, an upload and an
// erase as the window's "Cancel" does: exit status 130, what arrived kept as ".part" and named, and
// the instrument idle again for the next command.
TEST_F(CliRunTest, CtrlCStopsEachTransferAndLeavesTheInstrumentIdle) {
    Start({"--baud", "9600"});
    CliProcess download({"download", "COM1", "JOB", "1", "--to", folder_.string()});
    ASSERT_TRUE(WaitForLines(folder_ / "BRIDGE.gsi.part", 4));
    download.Interrupt(SIGTERM);
    ASSERT_EQ(download.Wait(), 130) << download.ErrorText();
    const std::string part = ReadWholeFile(folder_ / "BRIDGE.gsi.part");
    std::string sent;
    std::ifstream demo(fs::path(X4SIM_DEMO_DIR) / "data/JOB/1/OBSERV.GSI", std::ios::binary);
    for (std::string line; std::getline(demo, line) && sent.size() < part.size();) {
        sent += line + "\r\n";
    }
    EXPECT_EQ(part, sent) << "the partial file is the instrument's first lines";
    EXPECT_FALSE(fs::exists(folder_ / "BRIDGE.gsi"));
    EXPECT_NE(download.ErrorText().find("was stopped; what arrived (" +
                                        std::to_string(Lines(part)) + " lines) is kept in \"" +
                                        (folder_ / "BRIDGE.gsi.part").string() + "\""),
              std::string::npos)
        << download.ErrorText();
    ExpectIdle();

    std::string upload;
    for (int i = 1; i <= 30; ++i) {
        upload += "*11" + std::to_string(1000 + i).substr(1) + "+0000000000000P" +
                  std::to_string(i) + " 81..00+0000000000001000 \r\n";
    }
    std::ofstream(folder_ / "stakeout.gsi", std::ios::binary) << upload;
    CliProcess sending(
        {"upload", "COM1", "JOB", "SITE03", (folder_ / "stakeout.gsi").string(), "--replace"});
    ASSERT_TRUE(WaitForLines(received_ / "1-JOB.txt", 3));
    sending.Interrupt(SIGHUP);
    ASSERT_EQ(sending.Wait(), 130) << sending.ErrorText();
    const std::string took = ReadWholeFile(received_ / "1-JOB.txt");
    EXPECT_EQ(upload.substr(0, took.size()), took);
    EXPECT_NE(sending.ErrorText().find("was stopped: the instrument took " +
                                       std::to_string(Lines(took)) + " of 30 lines"),
              std::string::npos)
        << sending.ErrorText();
    ExpectIdle();

    const fs::path log = folder_ / "erase.log";
    CliProcess erase({"erase", "COM1", "JOB", "ROAD7", "--log", log.string()});
    for (int i = 0; i < 2000 && ReadWholeFile(log).find("ERASE") == std::string::npos; ++i) {
        std::this_thread::sleep_for(5ms);
    }
    erase.Interrupt();
    ASSERT_EQ(erase.Wait(), 130) << erase.ErrorText();
    EXPECT_NE(erase.ErrorText().find("The erase of the fixed points of ROAD7 was stopped"),
              std::string::npos)
        << erase.ErrorText();
    ExpectIdle();
}

// What stationlink-cli logs of a connect, a download and an upload is, byte
// for byte in each direction, what the simulator logged from its side.
TEST_F(CliRunTest, TrafficLogMatchesTheSimulatorsLog) {
    const fs::path simLog = folder_ / "x4sim.log";
    Start({"--log", simLog.string()});
    std::ofstream(folder_ / "codes.txt", std::ios::binary) << "TREE\nPOLE\n\xc4"
                                                              "RGER\n";
    const std::vector<std::vector<std::string>> commands = {
        {"list", "COM1"},
        {"download", "COM1", "JOB", "SITE03", "--part", "COORDS", "--to", folder_.string()},
        {"upload", "COM1", "COD", "TOPO", (folder_ / "codes.txt").string(), "--replace"},
    };
    Traffic ours;
    int n = 0;
    for (std::vector<std::string> command : commands) {
        const fs::path log = folder_ / ("cli-" + std::to_string(++n) + ".log");
        command.insert(command.end(), {"--log", log.string()});
        CliProcess run(command);
        ASSERT_EQ(run.Wait(), 0) << run.ErrorText();
        const Traffic one = Traffic::Read(log);
        ours.fromPc += one.fromPc;
        ours.fromInstrument += one.fromInstrument;
    }
    const Traffic theirs = Traffic::Read(simLog);
    EXPECT_GT(ours.fromPc.size(), 100u);
    EXPECT_EQ(ours.fromPc, theirs.fromPc);
    EXPECT_EQ(ours.fromInstrument, theirs.fromInstrument);
    EXPECT_NE(ours.fromPc.find("\xc4RGER\r\n"), std::string::npos);
}
