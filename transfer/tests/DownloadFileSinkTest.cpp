#include "TempFolder.h"

#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// The user agreed to replace a file of the name, as the tests' earlier files.
TransferRequest Request(const std::string& path, bool converted = false) {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.jobLabel = Wide(path);
    request.replacesPcFile = true;
    if (converted) {
        request.pcFormat = u"CASS";
    }
    return request;
}

const std::vector<std::string> kCassLines = {
    "JOB,SITE1,1,COORDS,GSI,1\r\n", "two\r\n", "three\r\n", "*410001+000000000000TREE \r\n",
    "*110002+0000000000000P12 81..00+0000000001234567 82..00-0000000000045678 "
    "83..00+0000000000012345 \r\n"};

class DownloadFileSinkTest : public ::testing::Test {
protected:
    DownloadFileSink sink;
    TempFolder folder;

    std::vector<bool> Feed(const TransferRequest& request, const std::vector<std::string>& lines) {
        sink.Begin(request);
        std::vector<bool> steps;
        for (const std::string& line : lines) {
            steps.push_back(sink.OnDataLine(line));
        }
        return steps;
    }
    bool Exists(const std::string& name) const { return fs::exists(folder.Path(name)); }
};

} // namespace

// An earlier file of the name stays untouched until the new one is whole;
// the first line (the transfer's header) is not written, the others byte
// for byte.
TEST_F(DownloadFileSinkTest, RawLinesGoToThePartialFileAndTakeTheNameAtCompletion) {
    folder.WriteFile("job.gsi", "earlier file");
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    const std::string b2 = std::string("B2 \0 mid\r\n", 10);
    const std::string b3 = high + "\r\n";

    EXPECT_EQ(Feed(Request(folder.Path("job.gsi")), {"B1 header\r\n", b2, b3}),
              (std::vector<bool>{false, true, true}));
    EXPECT_EQ(sink.DataLines(), 2u);
    EXPECT_EQ(folder.ReadFile("job.gsi"), "earlier file");
    EXPECT_EQ(folder.ReadFile("job.gsi.part"), b2 + b3);
    EXPECT_TRUE(sink.Complete());
    EXPECT_EQ(folder.ReadFile("job.gsi"), b2 + b3);
    EXPECT_FALSE(Exists("job.gsi.part"));
    EXPECT_EQ(sink.Failure(), "");
}

TEST_F(DownloadFileSinkTest, CassLinesAreCollectedAndConvertedAtCompletion) {
    folder.WriteFile("job.dat", "earlier file");
    EXPECT_EQ(Feed(Request(folder.Path("job.dat"), true), kCassLines),
              std::vector<bool>(kCassLines.size(), true));
    EXPECT_EQ(folder.ReadFile("job.dat"), "earlier file");
    EXPECT_TRUE(sink.Complete());
    EXPECT_EQ(folder.ReadFile("job.dat"), "P12,1234.567,-45.678,12.345,TREE\r\n");
    EXPECT_EQ(sink.PointsWritten(), 1u);
    EXPECT_FALSE(Exists("job.dat.part"));
}

// A download cut off keeps what arrived beside the untouched earlier file;
// one that brought nothing but its header keeps nothing.
TEST_F(DownloadFileSinkTest, KeepPartialKeepsWhatArrivedUnderThePartialName) {
    struct Case {
        std::string name;
        bool converted;
        std::vector<std::string> lines;
        std::string kept; // empty: no partial file
    };
    const std::string cass = kCassLines[0] + kCassLines[1] + kCassLines[2];
    const std::vector<Case> cases = {
        {"cut.gsi", false, {"H\r\n", "L1\r\n", "L2\r\n"}, "L1\r\nL2\r\n"},
        {"cut.dat", true, {kCassLines[0], kCassLines[1], kCassLines[2]}, cass},
        {"header.gsi", false, {"H\r\n"}, ""},
        {"header.dat", true, {"H\r\n"}, ""},
        {"none.gsi", false, {}, ""},
    };
    for (const Case& c : cases) {
        folder.WriteFile(c.name, "earlier");
        Feed(Request(folder.Path(c.name), c.converted), c.lines);
        const std::string partial = sink.KeepPartial();
        EXPECT_EQ(folder.ReadFile(c.name), "earlier") << c.name;
        if (c.kept.empty()) {
            EXPECT_EQ(partial, "") << c.name;
            EXPECT_FALSE(Exists(c.name + ".part")) << c.name;
        } else {
            EXPECT_EQ(partial, folder.Path(c.name + ".part"));
            EXPECT_EQ(folder.ReadFile(c.name + ".part"), c.kept) << c.name;
        }
    }
}

// Without the user's leave a file of the name is never replaced: one there
// at the first line fails the download at once, one that appears while it
// runs fails its completion, and the whole download stays in the partial.
TEST_F(DownloadFileSinkTest, AFileTheUserDidNotLetGoIsKept) {
    for (const bool converted : {false, true}) {
        SCOPED_TRACE(converted ? "CASS" : "raw");
        const std::string name = converted ? "job.dat" : "job.gsi";
        TransferRequest request = Request(folder.Path(name), converted);
        request.replacesPcFile = false;

        folder.WriteFile(name, "theirs");
        EXPECT_EQ(Feed(request, {kCassLines[0]}), std::vector<bool>{false});
        EXPECT_EQ(sink.Failure(), "Cannot create the file \"" + folder.Path(name) +
                                      "\": the file exists and is kept.");
        EXPECT_EQ(sink.KeepPartial(), "");

        fs::remove(folder.Path(name));
        Feed(request, kCassLines);
        folder.WriteFile(name, "theirs");
        EXPECT_FALSE(sink.Complete());
        // A raw file meets it when it takes its name, a point file when it is created.
        EXPECT_EQ(sink.Failure(),
                  converted ? "Cannot create the file \"" + folder.Path(name) +
                                  "\": the file exists and is kept."
                            : "Cannot complete the file \"" + folder.Path(name) +
                                  "\": a file of that name appeared meanwhile and is kept.");
        EXPECT_EQ(sink.KeepPartial(), folder.Path(name + ".part"));
        EXPECT_EQ(folder.ReadFile(name), "theirs");
        std::string all;
        for (std::size_t i = converted ? 0 : 1; i < kCassLines.size(); ++i) {
            all += kCassLines[i];
        }
        EXPECT_EQ(folder.ReadFile(name + ".part"), all);
        fs::remove(folder.Path(name));
        fs::remove(folder.Path(name + ".part"));
    }
}

TEST_F(DownloadFileSinkTest, DiscardLeavesNothingBehind) {
    Feed(Request(folder.Path("x.gsi")), {"H\r\n", "L\r\n"});
    sink.Discard();
    EXPECT_TRUE(fs::is_empty(folder.Path("")));
    // The next download starts afresh with its own first line.
    Feed(Request(folder.Path("y.gsi")), {"H\r\n", "M\r\n"});
    EXPECT_TRUE(sink.Complete());
    EXPECT_EQ(folder.ReadFile("y.gsi"), "M\r\n");
}

TEST_F(DownloadFileSinkTest, NonAsciiPathBecomesAUtf8FileName) {
    TransferRequest request = Request(folder.Path(""));
    request.jobLabel += u"Stra\u00DFe \u6E2C\u91CF.hal";
    Feed(request, {"H\r\n", "L\r\n"});
    EXPECT_TRUE(sink.Complete());
    EXPECT_EQ(folder.ReadFile("Stra\xC3\x9F"
                              "e \xE6\xB8\xAC\xE9\x87\x8F.hal"),
              "L\r\n");
}

// Raw and converted downloads alike fail at their first line, with the
// final path and the reason, and write nothing.
TEST_F(DownloadFileSinkTest, DestinationsThatCannotBeCreatedFailAtTheFirstLine) {
    folder.WriteFile("plain", "a file, not a folder");
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {folder.Path("missing/job.gsi"), "No such file or directory"},
        {folder.Path("plain/job.gsi"), "Not a directory"},
        {folder.Path(""), "Is a directory"},
        {folder.Path("pipe"), "it is not a regular file"},
        {"", "no file name was given"},
    };
    for (const bool converted : {false, true}) {
        for (const Case& c : cases) {
            EXPECT_EQ(Feed(Request(c.path, converted), {"H\r\n", "L1\r\n"}),
                      (std::vector<bool>{false, false}));
            EXPECT_EQ(sink.Failure(),
                      "Cannot create the file \"" + c.path + "\": " + c.reason + ".");
            EXPECT_FALSE(sink.Complete());
            EXPECT_EQ(sink.KeepPartial(), "");
        }
    }
    EXPECT_EQ(folder.ReadFile("plain"), "a file, not a folder");
}

// A write that does not fit (here a file size limit; a full disk fails the
// same way) fails at its line; what was written before stays in the partial
// file.
TEST_F(DownloadFileSinkTest, WriteFailureStopsAtTheLineThatDoesNotFit) {
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{16, limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::vector<bool> steps =
        Feed(Request(folder.Path("big.gsi")), {"H\r\n", "0123456789\r\n", "0123456789\r\n"});
    const std::string kept = sink.KeepPartial();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(steps, (std::vector<bool>{false, true, false}));
    EXPECT_NE(sink.Failure().find("Cannot write the file \"" + folder.Path("big.gsi") + "\""),
              std::string::npos)
        << sink.Failure();
    EXPECT_EQ(folder.ReadFile("big.gsi.part").substr(0, 12), "0123456789\r\n");
    EXPECT_EQ(kept, folder.Path("big.gsi.part"));
    EXPECT_FALSE(Exists("big.gsi"));
}
