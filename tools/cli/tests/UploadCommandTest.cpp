// stationlink-cli upload against the simulated instrument over a
// pseudo-terminal.

#include "CommandLine.h"
#include "ExitCode.h"

#include "SimProcess.h"
#include "TestFiles.h"

#include "platform/ComPortMap.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = stationlinkcli::CommandLine().Run(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(UploadCommand, SendsTheFileAndRefusesOverlongLinesBeforeSending) {
    const fs::path received = FreshTempDir("cli-upload-received");
    const fs::path pc = FreshTempDir("cli-upload-pc");
    SimProcess sim({"--received", received.string()});
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
    std::ofstream(pc / "codes.txt", std::ios::binary) << "ONE\n\xe9\xff\nlast";
    std::ofstream(pc / "long.txt", std::ios::binary) << "ok\r\n" << std::string(511, 'x') << "\r\n";

    // UTILITY holds codes: replacing them needs --replace, and without it
    // nothing goes out.
    const CliRun kept =
        RunCli({"upload", "COM1", "COD", "CodeBook:2", (pc / "codes.txt").string()});
    EXPECT_EQ(kept.status, kExitFailed);
    EXPECT_EQ(kept.err, "stationlink-cli: UTILITY holds 8 codes; the upload replaces them with the "
                        "3 of codes.txt; nothing was sent (--replace replaces them)\n");
    EXPECT_FALSE(fs::exists(received / "1-COD.txt"));
    const CliRun sent =
        RunCli({"upload", "COM1", "COD", "CodeBook:2", (pc / "codes.txt").string(), "--replace"});
    EXPECT_EQ(sent.status, kExitDone) << sent.err;
    EXPECT_EQ(sent.err, "");
    EXPECT_EQ(ReadWholeFile(received / "1-COD.txt"), "ONE\r\n\xe9\xff\r\nlast\r\n");

    const CliRun refused =
        RunCli({"upload", "COM1", "COD", "CodeBook:2", (pc / "long.txt").string()});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("Line 2 of"), std::string::npos) << refused.err;
    const CliRun missing =
        RunCli({"upload", "COM1", "JOB", "nothing", (pc / "codes.txt").string()});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_EQ(RunCli({"upload", "COM1", "FOR", "GSI", "x"}).status, kExitUsage);
    EXPECT_EQ(fs::exists(received / "2-COD.txt"), false);
    fs::remove_all(received);
    fs::remove_all(pc);
}
