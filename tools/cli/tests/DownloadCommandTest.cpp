// stationlink-cli download against the simulated instrument over a
// pseudo-terminal, and convert over the same data.

#include "CommandLine.h"
#include "ExitCode.h"
#include "PathLikeNames.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "TestFiles.h"

#include "platform/ComPortMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {

// A demo data file as the instrument sends it, every line ending in CR LF.
std::string SentLines(const std::string& relative) {
    std::ifstream in(std::string(X4SIM_DEMO_DIR "/data/") + relative, std::ios::binary);
    std::string sent;
    for (std::string line; std::getline(in, line);) {
        sent += line + "\r\n";
    }
    return sent;
}

class DownloadCommandTest : public ::testing::Test {
protected:
    explicit DownloadCommandTest(const std::vector<std::string>& simOptions = {})
        : sim_(simOptions) {}

    void SetUp() override {
        ASSERT_FALSE(sim_.Device().empty());
        ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim_.Device()).c_str(), 1);
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream errors;
        args.insert(args.begin(), "download");
        args.insert(args.begin() + 1, "COM1");
        const int status = CommandLine().Run(args, out, errors);
        err_ = errors.str();
        EXPECT_EQ(out.str(), "");
        return status;
    }

    SimProcess sim_;
    TempFolder folder_;
    std::string err_;
};

TEST_F(DownloadCommandTest, RawFilesHoldTheLinesAfterTheFirstByteForByte) {
    const std::string to = folder_.Path("");
    EXPECT_EQ(
        Run({"JOB", "JobList:3 [IN:SITE03]", "--to", to, "--part", "COORDS", "--type", "GSI"}),
        kExitDone)
        << err_;
    EXPECT_EQ(folder_.ReadFile("SITE03.gsi"), SentLines("JOB/3/COORDS.GSI"));
    // Defaults as the dialog pre-fills them: the name, the first format, "OBSERV".
    EXPECT_EQ(Run({"JOB", "JobList:1 [IN:BRIDGE]", "--to", to}), kExitDone) << err_;
    EXPECT_EQ(folder_.ReadFile("BRIDGE.gsi"), SentLines("JOB/1/OBSERV.GSI"));
    EXPECT_EQ(Run({"HAL", "HalList:2", "--to", to}), kExitDone) << err_;
    EXPECT_EQ(folder_.ReadFile("RAMPA.hal"), SentLines("HAL/2.txt"));
    EXPECT_EQ(Run({"COD", "CodeBook:1", "--to", to, "--type", "IDEX", "--name", "t.crf"}),
              kExitDone)
        << err_;
    EXPECT_EQ(folder_.ReadFile("t.crf"), SentLines("COD/1.IDEX"));
}

TEST_F(DownloadCommandTest, ConvertGivesTheBytesOfACassDownload) {
    const std::string to = folder_.Path("");
    ASSERT_EQ(
        Run({"JOB", "JobList:3 [IN:SITE03]", "--to", to, "--part", "COORDS", "--type", "CASS"}),
        kExitDone)
        << err_;
    const std::string points = folder_.ReadFile("SITE03.dat");
    EXPECT_EQ(points.substr(0, points.find('\n') + 1), "B1,1843.058,1828.036,352.908,TREE\r\n");
    // The collected data is the transfer's header line and the raw file.
    ASSERT_EQ(
        Run({"JOB", "JobList:3 [IN:SITE03]", "--to", to, "--part", "COORDS", "--type", "GSI"}),
        kExitDone);
    folder_.WriteFile("collected.gsi", "JOB,header\r\n" + folder_.ReadFile("SITE03.gsi"));
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(CommandLine().Run({"convert", folder_.Path("collected.gsi"), folder_.Path("cli.dat")},
                                out, errors),
              kExitDone);
    EXPECT_EQ(folder_.ReadFile("cli.dat"), points);
}

TEST_F(DownloadCommandTest, FailuresExitWithOneAndSayWhy) {
    EXPECT_EQ(Run({"JOB", "JobList:2 [IN:ROAD7]", "--to", folder_.Path("")}), kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: download: Data NULL\n");
    const std::string gone = folder_.Path("gone/");
    EXPECT_EQ(Run({"VAL", "ValList:1", "--to", gone}), kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: Cannot create the file \"" + gone +
                        "MAINST.val\": No such file or directory.\n");
    EXPECT_EQ(Run({"JOB", "JobList:9", "--to", folder_.Path("")}), kExitFailed);
    EXPECT_EQ(Run({"FOR", "GSI", "--to", folder_.Path("")}), kExitUsage);
    EXPECT_EQ(Run({"HAL", "HalList:1"}), kExitUsage);
}

// An instrument whose names hold "../", "/", a leading "." and control bytes.
class PathNameDownloadTest : public DownloadCommandTest {
protected:
    PathNameDownloadTest()
        : DownloadCommandTest({"--data", PathLikeNames::Write("cli-path-names").string()}) {}
};

// Names are file names: every download, with the offered or a typed name,
// lands in the chosen folder and nowhere else.
TEST_F(PathNameDownloadTest, EveryFileLandsInTheChosenFolder) {
    const std::filesystem::path chosen = folder_.Path("a/b/chosen");
    std::filesystem::create_directories(chosen);
    std::set<std::filesystem::path> expected;
    for (const PathLikeNames::Item& item : PathLikeNames::Items()) {
        EXPECT_EQ(Run({item.category, item.label, "--to", chosen.string(), "--type", "GSI",
                       "--part", "COORDS"}),
                  kExitDone)
            << item.label << ": " << err_;
        EXPECT_EQ(ReadWholeFile(chosen / item.file), item.data) << item.label;
        expected.insert((chosen / item.file).lexically_normal());
    }
    EXPECT_EQ(Run({"VAL", "ValList:1", "--to", chosen.string(), "--name", "../../typed.val"}),
              kExitDone);
    expected.insert((chosen / "_.._.._typed.val").lexically_normal());

    std::set<std::filesystem::path> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.Path(""))) {
        if (entry.is_regular_file()) {
            written.insert(entry.path().lexically_normal());
        }
    }
    EXPECT_EQ(written, expected);
}

} // namespace
