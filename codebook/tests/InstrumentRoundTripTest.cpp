// The real programs over a pseudo-terminal: code lists downloaded from the
// simulated instrument by stationlink-cli go through codebook unchanged, and
// a book exported by codebook arrives on the instrument byte for byte.

#include "SimProcess.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

// Runs a program with its output in program.log; its exit status.
int RunProgram(const TempFolder& folder, const std::string& program,
               const std::vector<std::string>& args) {
    std::string command = "'" + program + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    const int status =
        std::system((command + " >'" + folder.Path("program.log") + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr const char* kBook = "codebook 1\n"
                              "code TREE\n  colour #2e7d32\n  symbol circle\n"
                              "  attribute SPECIES=OAK\n  attribute GIRTH=\n"
                              "code KERB\n  line yes\n"
                              "code MH\n  attribute DEPTH=1.5\n";

TEST(InstrumentRoundTrip, DemoListsOpenAndSaveBackByteForByte) {
    TempFolder folder;
    SimProcess sim;
    ASSERT_FALSE(sim.Device().empty());
    ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
    const struct {
        const char* entry;
        const char* type;
    } lists[] = {{"CodeBook:1", "GSI"}, {"CodeBook:2", "IDEX"}};
    for (const auto& [entry, type] : lists) {
        const std::string name = std::string(type) + ".crf";
        ASSERT_EQ(RunProgram(folder, STATIONLINK_CLI,
                             {"download", "COM1", "COD", entry, "--to", folder.Path(""), "--type",
                              type, "--name", name}),
                  0)
            << folder.ReadFile("program.log");
        ASSERT_EQ(RunProgram(folder, CODEBOOK_PROGRAM,
                             {"--convert", folder.Path(name), folder.Path("saved-" + name)}),
                  0)
            << folder.ReadFile("program.log");
        EXPECT_EQ(folder.ReadFile("saved-" + name), folder.ReadFile(name)) << type;
    }
}

TEST(InstrumentRoundTrip, AnExportedBookArrivesAndComesBackUnchanged) {
    TempFolder folder;
    folder.WriteFile("topo.book", kBook);
    ASSERT_EQ(RunProgram(folder, CODEBOOK_PROGRAM,
                         {"--convert", folder.Path("topo.book"), folder.Path("topo.crf"),
                          "--format", "gsi16"}),
              0)
        << folder.ReadFile("program.log");
    const std::string sent = folder.ReadFile("topo.crf");
    ASSERT_EQ(sent, "*410001+000000000000TREE 42....+0000000000000OAK 43....+0000000000000000 \r\n"
                    "*410002+000000000000KERB \r\n"
                    "*410003+00000000000000MH 42....+00000000000001.5 \r\n");

    SimProcess sim({"--received", folder.Path("")});
    ASSERT_FALSE(sim.Device().empty());
    ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
    ASSERT_EQ(
        RunProgram(folder, STATIONLINK_CLI,
                   {"upload", "COM1", "COD", "CodeBook:1", folder.Path("topo.crf"), "--replace"}),
        0)
        << folder.ReadFile("program.log");
    EXPECT_EQ(folder.ReadFile("1-COD.txt"), sent);
    // A code list upload selects the output format by the list's number
    // (FORM/SET/1 for the first list), so the instrument keeps the lines
    // under that format and hands them back when it is asked for.
    ASSERT_EQ(RunProgram(folder, STATIONLINK_CLI,
                         {"download", "COM1", "COD", "CodeBook:1", "--to", folder.Path(""),
                          "--type", "IDEX", "--name", "back.crf"}),
              0)
        << folder.ReadFile("program.log");
    EXPECT_EQ(folder.ReadFile("back.crf"), sent);
}

} // namespace
