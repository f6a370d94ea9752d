#include "SimClient.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {} // namespace

TEST(SimProgram, PrintsItsDeviceKeepsALinkAndRemovesItOnExit) {
    const fs::path dir = FreshTempDir("x4sim-link");
    const fs::path link = dir / "x4sim-tty";
    SimProcess sim({"--link", link.string()});
    ASSERT_FALSE(sim.Device().empty());
    EXPECT_EQ(fs::read_symlink(link).string(), sim.Device());
    {
        SimClient client(link.string());
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Ask("a"), "?\r\n");
        EXPECT_EQ(client.Ask("GET//WI13"), "13....+000000000X4 1207\r\n");
    }
    SimClient again(link.string());
    EXPECT_EQ(again.Ask("c"), "?\r\n") << "the line outlives the PC's close";
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    fs::remove_all(dir);
}

TEST(SimProgram, SilentIgnoresTheFirstCommandsAndWarnSpoilsEveryNth) {
    SimProcess sim({"--silent", "2", "--warn", "3"});
    SimClient client(sim.Device());
    client.Send("a\r\na\r\n");
    EXPECT_EQ(client.Ask("a"), "@W100\r\n") << "third command: warned, the first two ignored";
    EXPECT_EQ(client.Ask("c"), "?\r\n");
    EXPECT_EQ(client.Ask("CONF/182"), "0182/0031\r\n");
    EXPECT_EQ(client.Ask("CONF/182"), "@W100\r\n");
}

TEST(SimProgram, ChunkedRepliesArriveWholeAndTheLogShowsThePieces) {
    const fs::path dir = FreshTempDir("x4sim-chunk");
    SimProcess sim({"--chunk", "4", "--log", (dir / "log.txt").string()});
    SimClient client(sim.Device());
    EXPECT_EQ(client.Ask("CONF/136"), "0136/0000\r\n");
    sim.Stop();
    const std::string log = ReadWholeFile(dir / "log.txt");
    EXPECT_NE(log.find("PC->X4 \"CONF/136\\r\\n\""), std::string::npos) << log;
    EXPECT_NE(log.find("X4->PC \"0136\""), std::string::npos) << log;
    EXPECT_NE(log.find("X4->PC \"/000\""), std::string::npos) << log;
    EXPECT_NE(log.find("X4->PC \"0\\r\\n\""), std::string::npos) << log;
    fs::remove_all(dir);
}

TEST(SimProgram, HangsUpAfterTheGivenDataLinesOfADownload) {
    SimProcess sim({"--hangup-after", "2"});
    SimClient client(sim.Device());
    EXPECT_EQ(client.Ask("JOB/RCV/COORDS/1"), "JOB,IN:BRIDGE,1,COORDS,GSI,32\r\n");
    EXPECT_EQ(client.Ask("?").substr(0, 3), "*13"); // the job information block
    EXPECT_EQ(client.Ask("?").substr(0, 3), "*84"); // the station block
    client.Send("?\r\n");
    EXPECT_TRUE(client.HungUp());
    EXPECT_EQ(sim.WaitExit(), 0);
}

TEST(SimProgram, WritesEveryUploadToTheReceivedFolder) {
    const fs::path dir = FreshTempDir("x4sim-received");
    SimProcess sim({"--received", dir.string()});
    SimClient client(sim.Device());
    EXPECT_EQ(client.Ask("HAL/SND/0"), "RoadHal,1,0\r\n");
    client.Send("STRAIGHT,1\r\n");
    EXPECT_EQ(client.ReadLine(), "?\r\n");
    client.Send(std::string("\xE9t\xE9\r\n"));
    EXPECT_EQ(client.ReadLine(), "?\r\n");
    EXPECT_EQ(client.Ask("\x1A"), "?\r\n");
    EXPECT_EQ(client.Ask("CODE/SND/1"), "TOPO\r\n");
    EXPECT_EQ(client.Ask("\x1A"), "?\r\n");
    sim.Stop();
    EXPECT_EQ(ReadWholeFile(dir / "1-HAL.txt"), "STRAIGHT,1\r\n\xE9t\xE9\r\n");
    EXPECT_EQ(ReadWholeFile(dir / "2-COD.txt"), "");
    EXPECT_TRUE(fs::exists(dir / "2-COD.txt"));
    fs::remove_all(dir);
}

TEST(SimProgram, ServesTheContentOfADataFolder) {
    const fs::path dir = FreshTempDir("x4sim-data");
    std::ofstream(dir / "identity.txt") << "TEST AB 9876\n";
    std::ofstream(dir / "jobs.txt") << "XX:ONE,7,2,0\r\n";
    fs::create_directories(dir / "data/JOB/7");
    std::ofstream(dir / "data/JOB/7/COORDS.GSI") << "L1\nL2\n";
    SimProcess sim({"--data", dir.string()});
    SimClient client(sim.Device());
    EXPECT_EQ(client.Ask("GET//WI13"), "TEST AB 9876\r\n");
    EXPECT_EQ(client.Ask("JOB/CONF/LIST"), "XX:ONE,7,2,0\r\n");
    EXPECT_EQ(client.Ask("?"), "\x1A\r\n");
    EXPECT_EQ(client.Ask("CODE/CONF/LIST"), "\x1A\r\n");
    EXPECT_EQ(client.Ask("JOB/RCV/COORDS/7"), "JOB,XX:ONE,7,COORDS,GSI,2\r\n");
    EXPECT_EQ(client.Ask("?"), "L1\r\n");
    EXPECT_EQ(client.Ask("?"), "L2\r\n");
    EXPECT_EQ(client.Ask("?"), "\x1A\r\n");
    fs::remove_all(dir);
}

TEST(SimProgram, RefusesABadCommandLineOrMissingContent) {
    SimProcess bad({"--chunk"});
    EXPECT_TRUE(bad.Device().empty());
    EXPECT_EQ(bad.WaitExit(), 2);
    SimProcess empty({"--data", "/nonexistent-x4sim-data"});
    EXPECT_TRUE(empty.Device().empty());
    EXPECT_EQ(empty.WaitExit(), 1);
}
