// What goes over the wire, kept as reference files: a connect, a download,
// an upload, an erase and a lost line of stationlink-cli against x4sim,
// compared byte for byte in each direction, so a change of the conversation
// shows as a difference. Each reference also drives x4sim --replay, which
// must carry the same command through to the same end.
// STATIONLINK_RECORD=1 writes the references anew.

#include "CliProcess.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "TrafficReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Case {
    std::string name;
    std::vector<std::string> sim;
    std::vector<std::string> command; // "DIR" stands for the test's folder
    int status;
    bool replayed; // a hang-up is the line's doing, not the log's
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

int RunAgainst(const std::vector<std::string>& simOptions,
               const std::vector<std::string>& command) {
    SimProcess sim(simOptions);
    EXPECT_FALSE(sim.Device().empty());
    ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
    CliProcess run(command);
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
    };
    const bool record = std::getenv("STATIONLINK_RECORD") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = FreshTempDir("conversation-" + c.name);
        std::ofstream(folder / "codes.txt", std::ios::binary) << "TREE\nPOLE\n";
        const fs::path reference = fs::path(CONVERSATIONS_DIR) / (c.name + ".log");
        const fs::path log = folder / "x4sim.log";
        std::vector<std::string> sim = c.sim;
        sim.insert(sim.end(), {"--log", log.string()});
        EXPECT_EQ(RunAgainst(sim, Expanded(c.command, folder)), c.status);
        if (record) {
            fs::copy_file(log, reference, fs::copy_options::overwrite_existing);
        }
        const Traffic expected = Traffic::Read(reference);
        const Traffic got = Traffic::Read(log);
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
