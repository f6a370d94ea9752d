// A point file made into a GSI-16 job by coordbook, uploaded to the
// simulated instrument with stationlink-cli and downloaded back as a point
// file: the real programs, over a pseudo-terminal.

#include "BookSamples.h"

#include "SimProcess.h"
#include "coordbook/BookLoader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct ProgramRun {
    int status;
    std::string output; // standard output and error
};

ProgramRun RunProgram(const char* program, const std::vector<std::string>& args,
                      const TempFolder& folder) {
    const std::string log = folder.Path("program.log");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    int status = -1;
    if (::posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) == 0) {
        ::waitpid(child, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.ReadFile("program.log")};
}

// The same number, whatever its places ("1.5" and "1.500").
bool SameValue(const FixedDecimal& a, const FixedDecimal& b) {
    const int places = std::max(a.Places(), b.Places());
    return *a.WithPlaces(places) == *b.WithPlaces(places);
}

TEST(UploadRoundTrip, AJobSavedByCoordbookComesBackFromTheInstrumentWithTheSamePoints) {
    TempFolder folder;
    // Every point with a height: the point-file download writes a code after the height only.
    folder.WriteFile("stakeout.dat", "S1,4410.25,1250.5,311.2,PEG\r\n"
                                     "S2,4412.125,1251.75,311.25,PEG\r\n"
                                     "S3,4420.0,1249.875,310.9,KERB\r\n"
                                     "S10,4431.003,1262.40061,309.12345,KERB\r\n"
                                     "REF7,4400,1200,300,\r\n"
                                     "S11,-12.5,-0.00002,0.0,PEG\r\n");
    const std::string job = folder.Path("stakeout.gsi");
    const ProgramRun made =
        RunProgram(COORDBOOK_PROGRAM, {"--convert", folder.Path("stakeout.dat"), job}, folder);
    ASSERT_EQ(made.status, 0) << made.output;

    SimProcess sim;
    ASSERT_FALSE(sim.Device().empty());
    ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
    const std::string entry = "JobList:1 [IN:BRIDGE]";
    const ProgramRun upload =
        RunProgram(STATIONLINK_CLI, {"upload", "COM1", "JOB", entry, job, "--replace"}, folder);
    ASSERT_EQ(upload.status, 0) << upload.output;
    const ProgramRun download =
        RunProgram(STATIONLINK_CLI,
                   {"download", "COM1", "JOB", entry, "--to", folder.Path(""), "--part", "COORDS",
                    "--type", "CASS", "--name", "back"},
                   folder);
    ASSERT_EQ(download.status, 0) << download.output;

    const auto sent = BookLoader::Load(folder.Path("stakeout.dat")).book;
    const auto back = BookLoader::Load(folder.Path("back.dat")).book;
    ASSERT_TRUE(sent && back);
    ASSERT_EQ(back->Rows(), sent->Rows());
    for (std::size_t row = 0; row < sent->Rows(); ++row) {
        const PointValues a = sent->ValuesOfRow(row);
        const PointValues b = back->ValuesOfRow(row);
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.code, a.code) << a.name;
        EXPECT_TRUE(SameValue(b.at.east, a.at.east)) << a.name;
        EXPECT_TRUE(SameValue(b.at.north, a.at.north)) << a.name;
        EXPECT_TRUE(SameValue(*b.at.height, *a.at.height)) << a.name;
    }
}

} // namespace
