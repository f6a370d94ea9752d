#include "catalogue/TransferMonitor.h"

#include "TempFolder.h"

#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using Ending = TransferMonitor::Ending;
using Outcome = TransferMonitor::Outcome;

namespace {

TransferRequest Download(const std::string& path, bool converted = false) {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.jobLabel.assign(path.begin(), path.end());
    if (converted) {
        request.pcFormat = u"CASS";
    }
    return request;
}

class TransferMonitorTest : public ::testing::Test {
protected:
    TransferMonitorTest() { monitor.SetPort("COM1"); }

    std::vector<Outcome> outcomes;
    TransferMonitor monitor{[this](const Outcome& outcome) { outcomes.push_back(outcome); }};
    DownloadFileSink sink;
    TempFolder folder;
};

} // namespace

// Every way a download can end, each ending it once, with the file as the
// ending says and a message that tells the user what happened.
TEST_F(TransferMonitorTest, EveryEndingOfADownloadEndsItOnceWithItsFile) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::function<void(TransferMonitor&)> end;
        Ending ending;
        std::string file; // content of the final file; empty: none
        std::string part; // content of the partial file; empty: none
        std::string said; // part of the message; empty: no message
    };
    const auto scriptEnd = [](TransferMonitor& m) { m.OnScriptEnd(); };
    const std::vector<Case> cases = {
        {"done", {"H\r\n", "A\r\n", "B\r\n"}, scriptEnd, Ending::Done, "A\r\nB\r\n", "", ""},
        {"header only",
         {"H\r\n"},
         scriptEnd,
         Ending::NoData,
         "",
         "",
         "The instrument sent no data for JOB-1"},
        {"nothing", {}, scriptEnd, Ending::NoData, "", "", "No file was written."},
        {"lost",
         {"H\r\n", "A\r\n"},
         [](TransferMonitor& m) { m.OnLinkLost("COM1 (/dev/pts/9): the port was lost: gone"); },
         Ending::LineLost,
         "",
         "A\r\n",
         "COM1 (/dev/pts/9): the port was lost: gone."},
        {"silent",
         {"H\r\n", "A\r\n"},
         [](TransferMonitor& m) { m.OnSilence(60s); },
         Ending::Silent,
         "",
         "A\r\n",
         "COM1: the instrument did not answer for 60 s."},
        {"overlong",
         {"H\r\n", "A\r\n"},
         [](TransferMonitor& m) { m.OnOverlongLine(); },
         Ending::Overlong,
         "",
         "A\r\n",
         "longer than 65536 bytes"},
        {"stopped",
         {"H\r\n", "A\r\n"},
         [](TransferMonitor& m) { m.Stop(); },
         Ending::Stopped,
         "",
         "A\r\n",
         "The download of JOB-1 was stopped; what arrived (1 line) is kept in"},
        {"refused",
         {"H\r\n", "A\r\n"},
         [](TransferMonitor& m) { m.OnRefused("@E103\x01trailing"); },
         Ending::Refused,
         "",
         "A\r\n",
         "COM1: the instrument answered @E103: it holds no such item"},
        {"refused unknown",
         {"H\r\n"},
         [](TransferMonitor& m) { m.OnRefused("@E999"); },
         Ending::Refused,
         "",
         "",
         "@E999: an error this program does not know."},
        {"stopped early",
         {"H\r\n"},
         [](TransferMonitor& m) { m.Stop(); },
         Ending::Stopped,
         "",
         "",
         "was stopped; no file was written."},
        {"name taken",
         {"H\r\n", "A\r\n"},
         [this](TransferMonitor& m) {
             folder.WriteFile("name taken.gsi", "theirs");
             m.OnScriptEnd();
         },
         Ending::FileFailed,
         "theirs",
         "A\r\n",
         "appeared meanwhile and is kept. The download of JOB-1 was not saved; what arrived "
         "(1 line) is kept in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Path(std::string(c.name) + ".gsi");
        outcomes.clear();
        monitor.BeginDownload(Download(path), "JOB-1", sink);
        for (const std::string& line : c.lines) {
            monitor.OnDataLine(line);
        }
        c.end(monitor);
        // Whatever comes after the end changes nothing.
        monitor.OnScriptEnd();
        monitor.OnLinkLost("later");
        ASSERT_EQ(outcomes.size(), 1u);
        const Outcome& o = outcomes[0];
        EXPECT_EQ(o.ending, c.ending);
        EXPECT_FALSE(monitor.Running());
        EXPECT_EQ(std::filesystem::exists(path), !c.file.empty());
        if (!c.file.empty()) {
            EXPECT_EQ(folder.ReadFile(std::string(c.name) + ".gsi"), c.file);
        }
        EXPECT_EQ(o.keptPart, c.part.empty() ? "" : path + ".part");
        EXPECT_EQ(std::filesystem::exists(path + ".part"), !c.part.empty());
        if (c.said.empty()) {
            EXPECT_EQ(o.message, "");
        } else {
            EXPECT_NE(o.message.find(c.said), std::string::npos) << o.message;
        }
    }
}

TEST_F(TransferMonitorTest, TheHeaderLineAnnouncesTheDataLines) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"JOB,IN:BIGJOB,5,COORDS,GSI,1226\r\n", 1226},
        {"HAL,MAINST,1,6\r\n", 6},
        {"JOB,IN:X,5,COORDS,GSI,\r\n", 0},
        {"JOB,IN:X,5,COORDS,GSI,12a\r\n", 0},
        {"1226\r\n", 0},
        {"COD,TOPO,1,GSI,99999999999999\r\n", 0},
    };
    for (const auto& [header, announced] : cases) {
        monitor.BeginDownload(Download(folder.Path("a.gsi")), "JOB-1", sink);
        monitor.OnDataLine(header);
        monitor.OnDataLine("1226,2,3\r\n"); // a data line never counts as the header
        EXPECT_EQ(monitor.AnnouncedLines(), announced) << header;
        monitor.Stop();
    }
}

TEST_F(TransferMonitorTest, AFileThatFailsEndsTheDownloadAtItsLine) {
    const std::string path = folder.Path("gone/x.gsi");
    monitor.BeginDownload(Download(path), "JOB-1", sink);
    EXPECT_FALSE(monitor.OnDataLine("H\r\n"));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].ending, Ending::FileFailed);
    EXPECT_NE(outcomes[0].message.find("Cannot create the file \"" + path + "\""),
              std::string::npos);
    EXPECT_FALSE(monitor.OnDataLine("A\r\n"));
    EXPECT_EQ(outcomes.size(), 1u);
}

// The end of a connect belongs to the connect: a finished point file of an
// earlier download is not converted again from nothing.
TEST_F(TransferMonitorTest, AConnectsEndLeavesAnEarlierDownloadAlone) {
    const std::string path = folder.Path("SITE03.dat");
    monitor.BeginDownload(Download(path, true), "SITE03", sink);
    for (const std::string line :
         {"H\r\n", "x\r\n", "y\r\n", "*110001+0000000000000P1 81..00+0000000001234567 \r\n"}) {
        monitor.OnDataLine(line);
    }
    monitor.OnScriptEnd();
    const std::string written = folder.ReadFile("SITE03.dat");
    ASSERT_EQ(written, "P1,1234.567\r\n");
    monitor.BeginConnect();
    monitor.OnScriptEnd();
    EXPECT_EQ(folder.ReadFile("SITE03.dat"), written);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[1].operation, TransferMonitor::Operation::Connect);
    EXPECT_EQ(outcomes[1].message, "");
}

TEST_F(TransferMonitorTest, OtherOperationsSayWhatWasDoneWhenCutOff) {
    TransferRequest upload;
    upload.kind = TransferRequest::CodeUpload;
    upload.lines = {u"a", u"b", u"c"};
    monitor.BeginUpload(upload, "codes.crf");
    monitor.OnLineSent();
    monitor.OnLinkLost("COM1: lost");
    monitor.BeginErase(TransferRequest{}, "HalList:2");
    monitor.OnSilence(8s);
    monitor.BeginConnect();
    monitor.Stop();
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].message,
              "COM1: lost. The upload of codes.crf did not end: the instrument took 1 of 3 lines.");
    EXPECT_NE(outcomes[1].message.find("The erase of HalList:2 did not end"), std::string::npos);
    // A connect the user folded needs no word.
    EXPECT_EQ(outcomes[2].ending, Ending::Stopped);
    EXPECT_EQ(outcomes[2].message, "");
    // One that cannot start ends without an outcome.
    monitor.BeginConnect();
    monitor.Forget();
    EXPECT_FALSE(monitor.Running());
    EXPECT_EQ(outcomes.size(), 3u);
}

TEST(TransferMonitorStatus, OneLinePerEnding) {
    using Op = TransferMonitor::Operation;
    struct Case {
        Op operation;
        Ending ending;
        bool converted;
        std::string line;
    };
    const std::vector<Case> cases = {
        {Op::Download, Ending::Done, false, "BRIDGE.gsi: 24 lines written"},
        {Op::Download, Ending::Done, true, "BRIDGE.gsi: 12 points written"},
        {Op::Download, Ending::Stopped, false, "BRIDGE.gsi: download stopped"},
        {Op::Download, Ending::LineLost, false, "BRIDGE.gsi: download failed"},
        {Op::Upload, Ending::Done, false, "up.gsi: 24 lines sent"},
        {Op::Erase, Ending::Silent, false, "/home/u/up.gsi: erase failed"},
        {Op::Erase, Ending::Done, false, "Erased /home/u/up.gsi"},
    };
    for (const Case& c : cases) {
        Outcome outcome;
        outcome.operation = c.operation;
        outcome.ending = c.ending;
        outcome.converted = c.converted;
        outcome.file = "/home/u/BRIDGE.gsi";
        outcome.item = "/home/u/up.gsi";
        outcome.lines = 24;
        outcome.points = 12;
        EXPECT_EQ(TransferMonitor::StatusLine(outcome), c.line);
    }
}
