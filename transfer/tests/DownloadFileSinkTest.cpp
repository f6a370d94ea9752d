#include "TempFolder.h"

#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

TransferRequest RawRequest(const std::string& path) {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.jobLabel = Wide(path);
    return request;
}

TransferRequest CassRequest(const std::string& path) {
    TransferRequest request = RawRequest(path);
    request.pcFormat = u"CASS";
    return request;
}

class DownloadFileSinkTest : public ::testing::Test {
protected:
    DownloadFileSink sink{[this](const std::string& failure) { reported.push_back(failure); }};
    std::vector<std::string> reported;
    TempFolder folder;

    std::vector<bool> Feed(const TransferRequest& request, const std::vector<std::string>& lines) {
        std::vector<bool> steps;
        for (const std::string& line : lines) {
            steps.push_back(sink.OnDataLine(request, line));
        }
        return steps;
    }
};

TEST_F(DownloadFileSinkTest, FirstLineCreatesTheFileAndLaterLinesGoInByteForByte) {
    folder.WriteFile("job.gsi", "old content that must go");
    const auto request = RawRequest(folder.Path("job.gsi"));
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    const std::string b2 = std::string("B2 \0 mid\r\n", 10);
    const std::string b3 = high + "\r\n";

    EXPECT_EQ(Feed(request, {"B1 header\r\n"}), std::vector<bool>{false});
    EXPECT_EQ(folder.ReadFile("job.gsi"), "");
    EXPECT_EQ(Feed(request, {b2, b3}), (std::vector<bool>{true, true}));
    EXPECT_TRUE(sink.OnTaskEnd(request));

    EXPECT_EQ(folder.ReadFile("job.gsi"), b2 + b3);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(sink.Failure(), "");
}

TEST_F(DownloadFileSinkTest, TaskEndWithoutADownloadChangesNothing) {
    EXPECT_FALSE(sink.OnTaskEnd(RawRequest(folder.Path("none.gsi"))));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("none.gsi")));
}

TEST_F(DownloadFileSinkTest, EachTransferStartsWithItsOwnFirstLine) {
    const auto first = RawRequest(folder.Path("a.crf"));
    const auto second = RawRequest(folder.Path("b.crf"));
    Feed(first, {"H\r\n", "A1\r\n"});
    sink.OnTaskEnd(first);
    Feed(second, {"H\r\n", "B1\r\n", "B2\r\n"});
    sink.OnTaskEnd(second);
    EXPECT_EQ(folder.ReadFile("a.crf"), "A1\r\n");
    EXPECT_EQ(folder.ReadFile("b.crf"), "B1\r\nB2\r\n");
}

TEST_F(DownloadFileSinkTest, NonAsciiPathBecomesAUtf8FileName) {
    const auto request = RawRequest(folder.Path(""));
    TransferRequest named = request;
    named.jobLabel += u"Stra\u00DFe \u6E2C\u91CF.hal";
    Feed(named, {"H\r\n", "L\r\n"});
    EXPECT_TRUE(sink.OnTaskEnd(named));
    EXPECT_EQ(folder.ReadFile("Stra\xC3\x9F"
                              "e \xE6\xB8\xAC\xE9\x87\x8F.hal"),
              "L\r\n");
}

TEST_F(DownloadFileSinkTest, CassLinesAreCollectedAndConvertedAtTheEnd) {
    folder.WriteFile("job.dat", "previous");
    const auto request = CassRequest(folder.Path("job.dat"));
    const std::vector<std::string> lines = {
        "JOB,SITE1,1,COORDS,GSI,1\r\n", "two\r\n", "three\r\n", "*410001+000000000000TREE \r\n",
        "*110002+0000000000000P12 81..00+0000000001234567 82..00-0000000000045678 "
        "83..00+0000000000012345 \r\n"};
    EXPECT_EQ(Feed(request, lines), std::vector<bool>(lines.size(), true));
    EXPECT_EQ(folder.ReadFile("job.dat"), "previous");
    EXPECT_TRUE(sink.OnTaskEnd(request));
    EXPECT_EQ(folder.ReadFile("job.dat"), "P12,1234.567,-45.678,12.345,TREE\r\n");

    // The collected lines went with the conversion.
    EXPECT_TRUE(sink.OnTaskEnd(request));
    EXPECT_EQ(folder.ReadFile("job.dat"), "\r\n");
}

TEST_F(DownloadFileSinkTest, DestinationsThatCannotBeCreatedFailTheTransferOnce) {
    folder.WriteFile("plain", "a file, not a folder");
    struct Case {
        std::string path;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {folder.Path("missing/job.gsi"), "No such file or directory"},
        {folder.Path("plain/job.gsi"), "Not a directory"},
        {folder.Path(""), "Is a directory"},
        {"", "no file name was given"},
    };
    for (const Case& c : cases) {
        reported.clear();
        const auto request = RawRequest(c.path);
        EXPECT_EQ(Feed(request, {"H\r\n", "L1\r\n", "L2\r\n"}),
                  (std::vector<bool>{false, false, false}));
        ASSERT_EQ(reported.size(), 1u) << c.path;
        EXPECT_NE(reported[0].find("\"" + c.path + "\""), std::string::npos) << reported[0];
        EXPECT_NE(reported[0].find(c.reason), std::string::npos) << reported[0];
        EXPECT_TRUE(sink.OnTaskEnd(request)) << "the progress dialog must end";
        EXPECT_EQ(sink.Failure(), reported[0]);
        EXPECT_EQ(reported.size(), 1u);
    }
}

TEST_F(DownloadFileSinkTest, FullDiskFailsAtTheLineThatDoesNotFit) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const auto request = RawRequest("/dev/full");
    EXPECT_EQ(Feed(request, {"H\r\n", "L1\r\n", "L2\r\n"}),
              (std::vector<bool>{false, false, false}));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("\"/dev/full\": No space left on device"), std::string::npos)
        << reported[0];
    EXPECT_TRUE(sink.OnTaskEnd(request));

    const auto converted = CassRequest("/dev/full");
    Feed(converted, {"a\r\n", "b\r\n", "c\r\n", "*110001+000000000000000P \r\n"});
    EXPECT_TRUE(sink.OnTaskEnd(converted));
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported[1].find("No space left on device"), std::string::npos) << reported[1];
}

TEST_F(DownloadFileSinkTest, ConvertedDownloadFailsAtItsFirstLineWhenTheFileCannotBeMade) {
    folder.WriteFile("plain", "x");
    for (const std::string& path :
         {folder.Path("gone/job.dat"), folder.Path("plain/job.dat"), folder.Path("")}) {
        reported.clear();
        const auto request = CassRequest(path);
        EXPECT_EQ(Feed(request, {"a\r\n", "b\r\n"}), (std::vector<bool>{false, false}));
        ASSERT_EQ(reported.size(), 1u) << path;
        EXPECT_NE(reported[0].find("Cannot create the file \"" + path + "\": "), std::string::npos)
            << reported[0];
        EXPECT_TRUE(sink.OnTaskEnd(request));
        EXPECT_EQ(reported.size(), 1u);
        EXPECT_EQ(sink.Failure(), reported[0]);
    }
    EXPECT_EQ(folder.ReadFile("plain"), "x");
}

TEST_F(DownloadFileSinkTest, AFailureIsKeptUntilTheNextTransferBegins) {
    const auto bad = RawRequest(folder.Path("missing/x.gsi"));
    Feed(bad, {"H\r\n"});
    sink.OnTaskEnd(bad);
    EXPECT_NE(sink.Failure(), "");

    const auto good = RawRequest(folder.Path("x.gsi"));
    Feed(good, {"H\r\n", "L\r\n"});
    EXPECT_EQ(sink.Failure(), "");
    EXPECT_TRUE(sink.OnTaskEnd(good));
    EXPECT_EQ(folder.ReadFile("x.gsi"), "L\r\n");
}

TEST_F(DownloadFileSinkTest, AbandonClosesWhatWasWrittenAndStartsAfresh) {
    const auto request = RawRequest(folder.Path("cut.gsi"));
    Feed(request, {"H\r\n", "L1\r\n"});
    sink.Abandon();
    EXPECT_EQ(folder.ReadFile("cut.gsi"), "L1\r\n");
    EXPECT_FALSE(sink.OnTaskEnd(request));

    const auto converted = CassRequest(folder.Path("cut.dat"));
    Feed(converted, {"a\r\n", "b\r\n", "c\r\n", "*110001+000000000000000P \r\n"});
    sink.Abandon();
    EXPECT_TRUE(sink.OnTaskEnd(converted));
    EXPECT_EQ(folder.ReadFile("cut.dat"), "\r\n");

    Feed(request, {"H\r\n", "M\r\n"});
    EXPECT_TRUE(sink.OnTaskEnd(request));
    EXPECT_EQ(folder.ReadFile("cut.gsi"), "M\r\n");
}

TEST(DownloadFileSink, TheFailureHandlerMayCallTheSink) {
    DownloadFileSink* self = nullptr;
    std::string seen;
    DownloadFileSink sink([&](const std::string&) {
        seen = self->Failure();
        self->Abandon();
    });
    self = &sink;
    const auto request = RawRequest("/nonexistent-folder-of-the-test/x.gsi");
    sink.OnDataLine(request, "H\r\n");
    EXPECT_NE(seen.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(sink.Failure(), "");
}

TEST(DownloadFileSink, AbandonFromAnotherThreadLeavesWholeLinesInOrder) {
    TempFolder folder;
    const auto request = RawRequest(folder.Path("race.gsi"));
    DownloadFileSink sink;
    std::thread stopper([&] {
        for (int i = 0; i < 200; ++i) {
            sink.Abandon();
            EXPECT_EQ(sink.Failure(), "");
        }
    });
    constexpr int kLines = 2000;
    const auto feed = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            sink.OnDataLine(request, "L" + std::to_string(i) + "\r\n");
        }
    };
    feed(0, kLines - 2);
    stopper.join();
    feed(kLines - 2, kLines); // at least the last one lands after the last abandon
    sink.OnTaskEnd(request);

    std::istringstream file(folder.ReadFile("race.gsi"));
    int previous = -1;
    for (std::string line; std::getline(file, line);) {
        ASSERT_EQ(line.rfind('L', 0), 0u) << line;
        ASSERT_EQ(line.back(), '\r') << line;
        const int number = std::stoi(line.substr(1));
        ASSERT_TRUE(previous < 0 || number == previous + 1) << previous << " " << number;
        previous = number;
    }
    EXPECT_EQ(previous, kLines - 1);
}

} // namespace
