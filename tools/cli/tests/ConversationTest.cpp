// What goes over the wire, kept as reference files: a connect, a download,
// an upload, an erase, a lost line and a download stopped with Ctrl+C of
// stationlink-cli against x4sim, compared byte for byte in each direction,
// so a change of the conversation shows as a difference (the window's
// connect, download and stop must say the same). Each reference also drives
// x4sim --replay, which must carry the same command through to the same end.

#include "CliProcess.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "TrafficReader.h"

#include "testsupport/Conversations.h"
#include "testsupport/TransferEndings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Case {
    std::string name;
    std::vector<std::string> sim;
    std::vector<std::string> command; // "DIR" stands for the test's folder
    int status;
    bool replayed;                     // a hang-up or a stop is not the log's doing
    const char* stoppedData = nullptr; // the data file of a download stopped with Ctrl+C
};

std::vector<std::string> Expanded(std::vector<std::string> args, const fs::path& folder) {
    for (std::string& arg : args) {
        if (arg == "DIR") {
            arg = folder.string();
        } else if (arg == "FILE") {
            arg = (folder / "codes.txt").string();
        }
    }
    return args;
}

// stopAt: the partial file whose first lines make the user press Ctrl+C.
int RunAgainst(const std::vector<std::string>& simOptions, const std::vector<std::string>& command,
               const fs::path& stopAt = {}) {
    SimProcess sim(simOptions);
    EXPECT_FALSE(sim.Device().empty());
    ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
    CliProcess run(command);
    if (!stopAt.empty()) {
        run.InterruptOnceFileHolds(stopAt, 4);
    }
    return run.Wait();
}

} // namespace

TEST(Conversation, EachCommandSaysWhatItsReferenceSays) {
    const Case cases[] = {
        {"connect", {}, {"list", "COM1"}, 0, true},
        {"download",
         {},
         {"download", "COM1", "JOB", "SITE03", "--part", "COORDS", "--to", "DIR"},
         0,
         true},
        {"upload", {}, {"upload", "COM1", "COD", "TOPO", "FILE", "--replace"}, 0, true},
        {"erase", {}, {"erase", "COM1", "JOB", "ROAD7"}, 0, true},
        {"lost-line",
         {"--hangup-after", "3"},
         {"download", "COM1", "JOB", "BRIDGE", "--to", "DIR"},
         1,
         false},
        {"cancel",
         {"--baud", "9600"},
         {"download", "COM1", "JOB", "BRIDGE", "--part", "OBSERV", "--to", "DIR"},
         130,
         false,
         "JOB/1/OBSERV.GSI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = FreshTempDir("conversation-" + c.name);
        std::ofstream(folder / "codes.txt", std::ios::binary) << "TREE\nPOLE\n";
        const fs::path reference = conversations::Reference(c.name);
        const fs::path log = folder / "x4sim.log";
        std::vector<std::string> sim = c.sim;
        sim.insert(sim.end(), {"--log", log.string()});
        const fs::path stopAt = c.stoppedData != nullptr ? folder / "BRIDGE.gsi.part" : fs::path();
        EXPECT_EQ(RunAgainst(sim, Expanded(c.command, folder), stopAt), c.status);
        const auto [expected, got] = conversations::Compare(
            c.name, log, c.stoppedData != nullptr ? endings::SentData(c.stoppedData) : "");
        EXPECT_GT(expected.fromPc.size(), 20u);
        EXPECT_EQ(got.fromPc, expected.fromPc);
        EXPECT_EQ(got.fromInstrument, expected.fromInstrument);
        if (c.replayed) {
            const fs::path replayed = folder / "replayed.log";
            fs::remove_all(folder / "SITE03.gsi");
            EXPECT_EQ(RunAgainst({"--replay", reference.string(), "--log", replayed.string()},
                                 Expanded(c.command, folder)),
                      c.status);
            EXPECT_EQ(Traffic::Read(replayed).fromPc, expected.fromPc);
        }
        fs::remove_all(folder);
    }
}
