#include "Transcripts.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace transcripts;

TEST(Link, NextOperationMayStartFromInsideTheEndReport) {
    TransferRequest erase;
    erase.kind = TransferRequest::HalErase;
    erase.itemName = u"H1";
    std::vector<Exchange> t = ConnectTranscript();
    const std::vector<Exchange> second = {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
                                          Answer("HAL/ERASE/H1\r\n", "?\r\n"),
                                          Answer("HAL/CONF/LIST\r\n", kEnd), Answer("?\r\n", kEnd)};
    t.insert(t.end(), second.begin(), second.end());
    bool started = false;
    // Declared after what its hook uses, so its worker is gone before they are.
    RecordingLink link;
    ASSERT_TRUE(link.Open());
    link.OnEachReply([&](const Reply& r) {
        if (r.first == "TASKEND" && !started) {
            started = true;
            ASSERT_TRUE(erase.BuildScript(link.Engine()));
            link.StartErase();
        }
    });
    link.Instrument().SetTranscript(t);
    Connect(link);
    ASSERT_TRUE(link.WaitForTag("TASKEND", 2));
    EXPECT_EQ(link.Instrument().Sent(), Expected(t));
}

// The worker's wait times out just after a chunk was handed over, before the
// wait saw its event. The counters still show the chunk: it is taken as data,
// never wiped as silence (which would send the step again and, at a poll,
// fetch the next line in place of the lost one).
TEST(Link, ChunkArrivingAtTheEdgeOfATimeOutIsTakenAsData) {
    RecordingLink link;
    link.Engine().SetDataWait([](ManualResetEvent& event, std::chrono::milliseconds) {
        event.Wait();
        event.Reset();
        return false;
    });
    ASSERT_TRUE(link.Open());
    RunToEnd(link, ConnectTranscript(), [&] { Connect(link); });
    EXPECT_EQ(link.Replies(), ConnectReplies());
}

TEST(Link, OpenPortRefusesWhileConnectedAndPassesTheSettingsOn) {
    RecordingLink link;
    EXPECT_TRUE(link.OpenPort("COM3", "9600", "7", "1", "2x"));
    EXPECT_FALSE(link.OpenPort("COM3", "9600", "7", "1", "2"));
    const CMiniDCB dcb = link.Instrument().LastSettings();
    EXPECT_EQ(dcb.portName, "COM3");
    EXPECT_EQ(dcb.baudRate, "9600");
    EXPECT_EQ(dcb.dataBits, "7");
    EXPECT_EQ(dcb.stopBits, 1);
    EXPECT_EQ(dcb.parity, 2);
    EXPECT_TRUE(link.IsConnected());
}

TEST(Link, StartWithTheWrongKindResetsAndSendsNothing) {
    RecordingLink link;
    ASSERT_TRUE(link.Open());
    TransferRequest upload = Upload(TransferRequest::JobUploadSelect, {u"x"});
    ASSERT_TRUE(upload.BuildScript(link.Engine()));
    EXPECT_EQ(link.StartErase(), 0);
    EXPECT_EQ(link.StartDownload(), 0);
    EXPECT_EQ(link.Engine().State(), -1);
    EXPECT_FALSE(link.Instrument().WaitForSends(1, 200ms));
}

TEST(Link, StartWhileClosedDoesNothing) {
    RecordingLink link;
    TransferRequest erase;
    erase.kind = TransferRequest::CodeErase;
    ASSERT_TRUE(erase.BuildScript(link.Engine()));
    EXPECT_EQ(link.StartErase(), 0);
    EXPECT_TRUE(link.Instrument().Sent().empty());
}

TEST(Link, ConnectRunsAgainOnTheSameWorkerAfterCloseAndOpen) {
    RecordingLink link;
    ASSERT_TRUE(link.Open());
    RunToEnd(link, ConnectTranscript(), [&] { Connect(link); });
    link.ClosePort();
    EXPECT_FALSE(link.IsConnected());
    ASSERT_TRUE(link.Open());
    std::vector<Exchange> twice = ConnectTranscript();
    const std::vector<Exchange> again = ConnectTranscript();
    twice.insert(twice.end(), again.begin(), again.end());
    link.Instrument().SetTranscript(twice);
    // The first half of the transcript was used by the first connect.
    link.Instrument().SetTranscript(again);
    Connect(link);
    ASSERT_TRUE(link.WaitForTag("TASKEND", 2));
    EXPECT_EQ(link.Replies().size(), 2 * ConnectReplies().size());
}

TEST(Link, ClosingDuringAnOperationStopsItsSends) {
    RecordingLink quick(50ms);
    ASSERT_TRUE(quick.Open());
    Connect(quick);
    ASSERT_TRUE(quick.Instrument().WaitForSends(2, 10s));
    quick.ClosePort();
    const std::size_t sent = quick.Instrument().Sent().size();
    EXPECT_FALSE(quick.Instrument().WaitForSends(sent + 1, 300ms));
}

TEST(Link, LostLineStopsTheOperationAndSaysWhy) {
    RecordingLink quick(50ms);
    ASSERT_TRUE(quick.Open());
    Connect(quick);
    ASSERT_TRUE(quick.Instrument().WaitForSends(1, 10s));
    quick.OnPortLost(nullptr);
    EXPECT_EQ(quick.Messages(), std::vector<std::string>{"lost: fake"});
    const std::size_t sent = quick.Instrument().Sent().size();
    EXPECT_FALSE(quick.Instrument().WaitForSends(sent + 1, 300ms));
}
