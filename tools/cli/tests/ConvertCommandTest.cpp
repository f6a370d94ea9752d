#include "CommandLine.h"
#include "ExitCode.h"
#include "TempFolder.h"

#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sstream>

namespace {

const std::vector<std::string> kCollected = {
    "JOB,SITE1,1,COORDS,GSI,2\r\n",
    "h2\r\n",
    "h3\r\n",
    "*410001+000000000000TREE \r\n",
    "*110002+00000000000000P1 81..00+0000000001140796 82..06-0000000024770960 "
    "83..00+0000000000312403 \r\n",
    "*110003+00000000000000P2 81..00+0000000001354118 82..00+0000000002607297 \r\n"};

int Convert(const std::vector<std::string>& args, std::string& err) {
    std::ostringstream out;
    std::ostringstream errors;
    std::vector<std::string> line = {"convert"};
    line.insert(line.end(), args.begin(), args.end());
    const int status = stationlinkcli::CommandLine().Run(line, out, errors);
    err = errors.str();
    EXPECT_EQ(out.str(), "");
    return status;
}

TEST(ConvertCommand, GivesTheBytesOfACassDownloadOfTheSameData) {
    TempFolder folder;
    std::string in;
    for (const std::string& line : kCollected) {
        in += line;
    }
    folder.WriteFile("job.gsi", in);

    TransferRequest request;
    request.pcFormat = u"CASS";
    const std::string downloaded = folder.Path("download.dat");
    request.jobLabel.assign(downloaded.begin(), downloaded.end());
    DownloadFileSink sink;
    sink.Begin(request);
    for (const std::string& line : kCollected) {
        sink.OnDataLine(line);
    }
    ASSERT_TRUE(sink.Complete());

    std::string err;
    EXPECT_EQ(Convert({folder.Path("job.gsi"), folder.Path("cli.dat")}, err), kExitDone);
    EXPECT_EQ(err, "");
    EXPECT_EQ(folder.ReadFile("cli.dat"), folder.ReadFile("download.dat"));
    EXPECT_EQ(folder.ReadFile("cli.dat"),
              "P1,1140.796,-2477.0960,312.403,TREE\r\nP2,1354.118,2607.297\r\n");
}

TEST(ConvertCommand, FileFailuresExitWithOneAndOneLine) {
    TempFolder folder;
    folder.WriteFile("in.gsi",
                     "a\r\nb\r\nc\r\n*110001+0000000000000P1 81..00+0000000001234567 \r\n");
    folder.WriteFile("names.gsi", "a\r\nb\r\nc\r\n*110001+00000000000000M1 \r\n");
    std::string err;
    EXPECT_EQ(Convert({folder.Path("none.gsi"), folder.Path("out.dat")}, err), kExitFailed);
    EXPECT_EQ(err, "stationlink-cli: Cannot read the file \"" + folder.Path("none.gsi") +
                       "\": No such file or directory.\n");
    EXPECT_EQ(Convert({folder.Path("in.gsi"), folder.Path("no/out.dat")}, err), kExitFailed);
    EXPECT_EQ(err, "stationlink-cli: Cannot create the file \"" + folder.Path("no/out.dat") +
                       "\": No such file or directory.\n");
    EXPECT_EQ(Convert({folder.Path("names.gsi"), folder.Path("out.dat")}, err), kExitFailed);
    EXPECT_EQ(err, "stationlink-cli: No point file was written to \"" + folder.Path("out.dat") +
                       "\": the data received (1 point block) holds no coordinates; a point file "
                       "needs the fixed points (\"COORDS\").\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.dat")));
    EXPECT_EQ(Convert({folder.Path("in.gsi")}, err), kExitUsage);

    // An existing OUT is replaced only when asked to.
    folder.WriteFile("out.dat", "earlier");
    EXPECT_EQ(Convert({folder.Path("in.gsi"), folder.Path("out.dat")}, err), kExitFailed);
    EXPECT_EQ(err, "stationlink-cli: " + folder.Path("out.dat") +
                       " exists; give --overwrite to replace it\n");
    EXPECT_EQ(folder.ReadFile("out.dat"), "earlier");
    EXPECT_EQ(Convert({folder.Path("in.gsi"), folder.Path("out.dat"), "--overwrite"}, err),
              kExitDone);
    EXPECT_EQ(folder.ReadFile("out.dat"), "P1,1234.567\r\n");
}

} // namespace
