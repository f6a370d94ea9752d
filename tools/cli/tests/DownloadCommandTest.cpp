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
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

namespace {

// A data file of the instrument's content as it sends it: the first
// `count` lines (all by default), every line ending in CR LF.
std::string SentLines(const std::string& relative, std::size_t count = SIZE_MAX,
                      const std::string& content = X4SIM_DEMO_DIR) {
    std::ifstream in(content + "/data/" + relative, std::ios::binary);
    std::string sent;
    for (std::string line; count > 0 && std::getline(in, line); --count) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        sent += line + "\r\n";
    }
    return sent;
}

// Content whose job 3 coordinates (GSI) hold `line` as their third line.
std::filesystem::path ContentWithLine(const std::string& name, const std::string& line) {
    return DemoCopyWithLine(name, "JOB/3/COORDS.GSI", 2, line);
}

const std::vector<std::string> kSite03 = {
    "JOB", "JobList:3 [IN:SITE03]", "--part", "COORDS", "--type", "GSI"};

class DownloadCommandTest : public ::testing::Test {
protected:
    void SetUp() override { Restart({}); }

    void Restart(const std::vector<std::string>& options) {
        sim_.reset();
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_FALSE(sim_->Device().empty());
        ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim_->Device()).c_str(), 1);
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream errors;
        args.insert(args.begin(), "download");
        args.insert(args.begin() + 1, "COM1");
        const int status = stationlinkcli::CommandLine().Run(args, out, errors);
        err_ = errors.str();
        EXPECT_EQ(out.str(), "");
        return status;
    }

    std::unique_ptr<SimProcess> sim_;
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
    ASSERT_EQ(stationlinkcli::CommandLine().Run(
                  {"convert", folder_.Path("collected.gsi"), folder_.Path("cli.dat")}, out, errors),
              kExitDone);
    EXPECT_EQ(folder_.ReadFile("cli.dat"), points);
}

TEST_F(DownloadCommandTest, FailuresExitWithOneAndSayWhy) {
    EXPECT_EQ(Run({"JOB", "JobList:2 [IN:ROAD7]", "--to", folder_.Path("")}), kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: download: Data NULL: ROAD7 holds no measurement points; "
                    "nothing was downloaded.\n");
    // Measurements hold no coordinates: no point file, not even a partial one.
    EXPECT_EQ(Run({"JOB", "JobList:3 [IN:SITE03]", "--type", "CASS", "--to", folder_.Path("")}),
              kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: No point file was written to \"" +
                        folder_.Path("SITE03.dat") +
                        "\": the data received (18 point blocks) holds no coordinates; a point "
                        "file needs the fixed points (\"COORDS\"). The download of JobList:3 "
                        "[IN:SITE03] was not saved; no file was written.\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder_.Path("")));
    // An erase of the empty part says the same and sends nothing.
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(stationlinkcli::CommandLine().Run(
                  {"erase", "COM1", "JOB", "ROAD7", "--part", "OBSERV"}, out, errors),
              kExitFailed);
    EXPECT_EQ(errors.str(), "stationlink-cli: erase: Data NULL: ROAD7 holds no measurement points; "
                            "nothing was erased.\n");
    const std::string gone = folder_.Path("gone/");
    EXPECT_EQ(Run({"VAL", "ValList:1", "--to", gone}), kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: Cannot create the file \"" + gone +
                        "MAINST.val\": No such file or directory. The download of ValList:1 "
                        "was not saved; no file was written.\n");
    EXPECT_EQ(Run({"JOB", "JobList:9", "--to", folder_.Path("")}), kExitFailed);
    EXPECT_EQ(Run({"FOR", "GSI", "--to", folder_.Path("")}), kExitUsage);
    EXPECT_EQ(Run({"HAL", "HalList:1"}), kExitUsage);
}

// An instrument whose names hold "../", "/", a leading "." and control bytes.
class PathNameDownloadTest : public DownloadCommandTest {
protected:
    void SetUp() override { Restart({"--data", PathLikeNames::Write("cli-path-names").string()}); }
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

// A line of the longest length the engine takes arrives whole.
TEST_F(DownloadCommandTest, LinesUpTo64KiBArriveWhole) {
    const auto content = ContentWithLine("cli-long-line", std::string(64 * 1024, 'L'));
    Restart({"--data", content.string()});
    std::vector<std::string> args = kSite03;
    args.insert(args.end(), {"--to", folder_.Path("")});
    ASSERT_EQ(Run(args), kExitDone) << err_;
    // Compared as a whole, not printed: the line is 64 KiB long.
    EXPECT_TRUE(folder_.ReadFile("SITE03.gsi") ==
                SentLines("JOB/3/COORDS.GSI", SIZE_MAX, content.string()));
}

// An existing file is the user's data: refused without --overwrite and left
// as it was, replaced with it.
TEST_F(DownloadCommandTest, ExistingFileIsReplacedOnlyWithOverwrite) {
    folder_.WriteFile("SITE03.gsi", "earlier");
    std::vector<std::string> args = kSite03;
    args.insert(args.end(), {"--to", folder_.Path("")});
    EXPECT_EQ(Run(args), kExitFailed);
    EXPECT_EQ(err_, "stationlink-cli: " + folder_.Path("SITE03.gsi") +
                        " exists and was not replaced; nothing was downloaded (--overwrite "
                        "replaces it)\n");
    EXPECT_EQ(folder_.ReadFile("SITE03.gsi"), "earlier");
    args.push_back("--overwrite");
    EXPECT_EQ(Run(args), kExitDone) << err_;
    EXPECT_EQ(folder_.ReadFile("SITE03.gsi"), SentLines("JOB/3/COORDS.GSI"));
}
