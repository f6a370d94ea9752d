#include "Transcripts.h"
#include "protocol/ReplyTags.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

using namespace std::chrono_literals;
using namespace transcripts;

namespace {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.Open()); }

    void Build(const TransferRequest& request) { ASSERT_TRUE(request.BuildScript(link.Engine())); }

    RecordingLink link;
};

std::vector<Exchange> CodeUploadTranscript(const std::vector<std::string>& lines) {
    std::vector<Exchange> t = {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
                               Answer("FORM/SET/3\r\n", "IDEX,3,1,3\r\n"),
                               Answer("CODE/SND/3\r\n", "TREES\r\n")};
    for (const std::string& line : lines) {
        t.push_back(Answer(line + "\r\n", "?\r\n"));
    }
    t.push_back(Answer(kEnd, "?\r\n"));
    t.push_back(Answer("CODE/CONF/LIST\r\n", "TREES,CB1\r\n"));
    t.push_back(Answer("?\r\n", "NEW,CB3\r\n"));
    t.push_back(Answer("?\r\n", kEnd));
    return t;
}

} // namespace

TEST_F(EngineTest, ConnectReadsEveryListAndEndsWithInitDoneThenTaskEnd) {
    RunToEnd(link, ConnectTranscript(), [&] { Connect(link); });
    EXPECT_EQ(link.Replies(), ConnectReplies());
}

TEST_F(EngineTest, JobDownloadHandsOverEveryDataLine) {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.formatCode = u"0";
    request.partCode = u"COORDS";
    request.itemName = u"7";
    Build(request);
    RunToEnd(link,
             {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
              Answer("FORM/SET/0\r\n", "GSI,0,1,3\r\n"), Answer("JOB/RCV/COORDS/7\r\n", "L1\r\n"),
              Answer("?\r\n", "L2\r\n"), Answer("?\r\n", "L3\xE9\r\n"), Answer("?\r\n", kEnd)},
             [&] { link.StartDownload(); });
    EXPECT_EQ(link.Replies(), (std::vector<Reply>{{"DATBAK", "L1\r\n"},
                                                  {"DATBAK", "L2\r\n"},
                                                  {"DATBAK", "L3\xE9\r\n"},
                                                  {"TASKEND", ""}}));
}

TEST_F(EngineTest, EachDownloadKindStartsAtItsOwnStep) {
    struct Case {
        int kind;
        std::vector<Exchange> transcript;
    };
    const Case cases[] = {
        {TransferRequest::CodeDownload,
         {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
          Answer("FORM/SET/1\r\n", "IDEX,1,1,3\r\n"), Answer("CODE/RCV/N\r\n", "X\r\n"),
          Answer("?\r\n", kEnd)}},
        {TransferRequest::HalDownload,
         {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"), Answer("HAL/RCV/N\r\n", "X\r\n"),
          Answer("?\r\n", kEnd)}},
        {TransferRequest::ValDownload,
         {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"), Answer("VAL/RCV/N\r\n", "X\r\n"),
          Answer("?\r\n", kEnd)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        RecordingLink fresh;
        ASSERT_TRUE(fresh.Open());
        TransferRequest request;
        request.kind = c.kind;
        request.formatCode = u"1";
        request.itemName = u"N";
        ASSERT_TRUE(request.BuildScript(fresh.Engine()));
        RunToEnd(fresh, c.transcript, [&] { fresh.StartDownload(); });
        EXPECT_EQ(fresh.Replies(), (std::vector<Reply>{{"DATBAK", "X\r\n"}, {"TASKEND", ""}}));
    }
}

TEST_F(EngineTest, EraseRereadsTheListUnderTheRefreshTag) {
    TransferRequest request;
    request.kind = TransferRequest::JobErase;
    request.itemName = u"7";
    request.partCode = u"OBSERV";
    Build(request);
    RunToEnd(link,
             {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
              Answer("JOB/ERASE/OBSERV/7\r\n", "?\r\n"),
              Answer("JOB/CONF/LIST\r\n", "SITE2,8,1,1\r\n"), Answer("?\r\n", "SITE3,9,0,4\r\n"),
              Answer("?\r\n", kEnd)},
             [&] { link.StartErase(); });
    EXPECT_EQ(link.Replies(),
              (std::vector<Reply>{
                  {"JOBRFS", "SITE2,8,1,1\r\n"}, {"JOBRFS", "SITE3,9,0,4\r\n"}, {"TASKEND", ""}}));
}

TEST_F(EngineTest, UploadSendsEachLineThenEndOfFileThenRereadsTheList) {
    Build(Upload(TransferRequest::CodeUpload, {u"L1", u"", u"L\u00E93"}));
    RunToEnd(link,
             CodeUploadTranscript({"L1", "",
                                   "L\xE9"
                                   "3"}),
             [&] { link.StartUpload(); });
    EXPECT_EQ(link.Replies(), (std::vector<Reply>{{"PROGRSA", ""},
                                                  {"PROGRSA", ""},
                                                  {"PROGRSA", ""},
                                                  {"CODDEL", "TREES,CB1\r\n"},
                                                  {"CODRFS", "NEW,CB3\r\n"},
                                                  {"TASKEND", ""}}));
}

TEST_F(EngineTest, EmptyUploadGoesStraightToTheEndOfFile) {
    Build(Upload(TransferRequest::CodeUpload, {}));
    RunToEnd(link, CodeUploadTranscript({}), [&] { link.StartUpload(); });
    for (const Reply& r : link.Replies()) {
        EXPECT_NE(r.first, "PROGRSA");
    }
}

TEST_F(EngineTest, HalUploadWaitsForItsRoadEcho) {
    TransferRequest request = Upload(TransferRequest::HalUpload, {u"H"});
    Build(request);
    RunToEnd(link,
             {Answer("a\r\n", "?\r\n"), Answer("c\r\n", "?\r\n"),
              Answer("HAL/SND/0\r\n", "RoadHal,1,0\r\n"), Answer("H\r\n", "?\r\n"),
              Answer(kEnd, "?\r\n"), Answer("HAL/CONF/LIST\r\n", kEnd), Answer("?\r\n", kEnd)},
             [&] { link.StartUpload(); });
}

TEST_F(EngineTest, WarningRepliesMakeTheStepGoOutAgainAtOnce) {
    std::vector<Exchange> t = ConnectTranscript();
    t.insert(t.begin() + 2, Answer("CONF/182\r\n", "@W127\r\n"));
    t.insert(t.begin() + 8, Answer("?\r\n", "@W100\r\n")); // during a list poll
    RunToEnd(link, t, [&] { Connect(link); });
    EXPECT_EQ(link.Replies(), ConnectReplies());
}

// However the error line arrives and whatever step it answers, the
// operation ends at it with the code, and nothing more goes out.
TEST_F(EngineTest, ErrorReplyEndsTheOperationWithItsCode) {
    struct Case {
        std::size_t at;
        std::vector<std::string> chunks;
        std::string code;
    };
    const Case cases[] = {
        {2, {"@E102\r\n"}, "@E102"},             // a literal step
        {7, {"@E101\r\n"}, "@E101"},             // a list poll awaiting a tagged line
        {4, {"@", "E10", "3\r", "\n"}, "@E103"}, // cut in pieces
    };
    for (const Case& c : cases) {
        RecordingLink fresh;
        ASSERT_TRUE(fresh.Open());
        std::vector<Exchange> t = ConnectTranscript();
        t.resize(c.at + 1);
        t[c.at].chunks = c.chunks;
        fresh.Instrument().SetTranscript(t);
        Connect(fresh);
        ASSERT_TRUE(fresh.WaitForTag(ReplyTags::kRefused)) << c.code;
        EXPECT_EQ(fresh.Replies().back(), Reply(ReplyTags::kRefused, c.code));
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(fresh.Instrument().Sent(), Expected(t)) << c.code;
        EXPECT_FALSE(fresh.WaitForTag("TASKEND", 1, 1ms)) << c.code;
    }
}

TEST_F(EngineTest, SilentInstrumentGetsTheFirstStepAgainAfterEachTimeOut) {
    RecordingLink quick(60ms);
    ASSERT_TRUE(quick.Open());
    Connect(quick);
    ASSERT_TRUE(quick.Instrument().WaitForSends(4, 10s));
    for (const std::string& sent : quick.Instrument().Sent()) {
        EXPECT_EQ(sent, "a\r\n");
    }
    EXPECT_TRUE(quick.Replies().empty());
}

TEST_F(EngineTest, TimeOutDropsAPartialReplyAndSendsTheStepAgain) {
    RecordingLink quick(300ms);
    ASSERT_TRUE(quick.Open());
    RunToEnd(quick,
             {{"a\r\n", {"garbage"}},
              Answer("a\r\n", "?\r\n"),
              Answer("c\r\n", "?\r\n"),
              Answer("CONF/182\r\n", "0182/0031\r\n"),
              Silence("CONF/136\r\n"),
              Answer("CONF/136\r\n", "0136/0000\r\n"),
              Answer("CONF/137\r\n", "0137/0001\r\n"),
              Answer("GET//WI13\r\n", "ID\r\n"),
              Answer("CODE/CONF/LIST\r\n", kEnd),
              Answer("?\r\n", kEnd),
              Answer("JOB/CONF/LIST\r\n", kEnd),
              Answer("?\r\n", kEnd),
              Answer("FORM/CONF/LIST\r\n", kEnd),
              Answer("?\r\n", kEnd),
              Answer("HAL/CONF/LIST\r\n", kEnd),
              Answer("?\r\n", kEnd),
              Answer("VAL/CONF/LIST\r\n", kEnd),
              Answer("?\r\n", kEnd)},
             [&] { Connect(quick); });
}

TEST_F(EngineTest, LineEndOfAnAcknowledgementArrivingLateIsNotTakenForTheNextReply) {
    TransferRequest request;
    request.kind = TransferRequest::CodeErase;
    request.itemName = u"CB1";
    Build(request);
    RunToEnd(link,
             {{"a\r\n", {"?"}},
              {"c\r\n", {"\r\n", "?\r"}},
              {"CODE/ERASE/CB1\r\n", {"\n", "?", "\r\n"}},
              Answer("CODE/CONF/LIST\r\n", "ROADS,CB2\r\n"),
              Answer("?\r\n", kEnd)},
             [&] { link.StartErase(); });
    // Without the line ends being taken with their replies, the empty line
    // would have been handed over as a list entry.
    EXPECT_EQ(link.Replies(), (std::vector<Reply>{{"CODRFS", "ROADS,CB2\r\n"}, {"TASKEND", ""}}));
}

TEST_F(EngineTest, TimeOutWhileAFileLineWaitsSendsThePrecedingStepAgain) {
    RecordingLink quick(400ms);
    ASSERT_TRUE(quick.Open());
    ASSERT_TRUE(Upload(TransferRequest::CodeUpload, {u"L1", u"L2"}).BuildScript(quick.Engine()));
    std::vector<Exchange> t = CodeUploadTranscript({"L1", "L2"});
    // L1 goes unanswered; the time-out sends CODE/SND again, whose answer
    // leads back to the file-data step and the next line.
    t[4] = Silence("L1\r\n");
    t.insert(t.begin() + 5, Answer("CODE/SND/3\r\n", "TREES\r\n"));
    RunToEnd(quick, t, [&] { quick.StartUpload(); });
}

TEST_F(EngineTest, FailedSendIsTriedAgain) {
    RecordingLink quick(300ms);
    ASSERT_TRUE(quick.Open());
    std::vector<Exchange> t = ConnectTranscript();
    // "c" fails to go out; the step index falls back, so the time-out sends
    // "a" again and its answer leads to "c" once more.
    t.insert(t.begin() + 1, Answer("a\r\n", "?\r\n"));
    quick.Instrument().FailSend(1);
    quick.Instrument().SetTranscript(t);
    Connect(quick);
    ASSERT_TRUE(quick.WaitForTag("TASKEND"));
    std::vector<std::string> expected = Expected(t);
    expected.insert(expected.begin() + 1, "c\r\n");
    EXPECT_EQ(quick.Instrument().Sent(), expected);
    EXPECT_EQ(quick.Replies(), ConnectReplies());
}

// A start reported as failed leaves nothing running: neither the time-out
// nor a late answer may play the script on behind its owner's back.
TEST_F(EngineTest, StartWhoseFirstStepFailsLeavesTheEngineIdle) {
    RecordingLink quick(50ms);
    ASSERT_TRUE(quick.Open());
    quick.Instrument().FailSend(0);
    EXPECT_FALSE(quick.Engine().StartConnect());
    EXPECT_FALSE(quick.Instrument().WaitForSends(2, 400ms));
    quick.Instrument().Inject({"?\r\n"});
    EXPECT_TRUE(quick.Instrument().WaitDelivered(10s));
    EXPECT_EQ(quick.Instrument().Sent().size(), 1u);
    EXPECT_TRUE(quick.Replies().empty());
    EXPECT_TRUE(quick.Engine().StartConnect());
}

TEST_F(EngineTest, NothingIsSentAfterTheOperationEnded) {
    RecordingLink quick(50ms);
    ASSERT_TRUE(quick.Open());
    RunToEnd(quick, ConnectTranscript(), [&] { Connect(quick); });
    const std::size_t sent = quick.Instrument().Sent().size();
    EXPECT_FALSE(quick.Instrument().WaitForSends(sent + 1, 500ms));
    quick.Instrument().Inject({"late\r\n"});
    EXPECT_TRUE(quick.Instrument().WaitDelivered(10s)) << "a callback while idle must not block";
    EXPECT_EQ(quick.Instrument().Sent().size(), sent);
}

TEST_F(EngineTest, SameReportsHoweverTheBytesAreCut) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 60; ++run) {
        SCOPED_TRACE(run);
        RecordingLink cut;
        ASSERT_TRUE(cut.Open());
        cut.Instrument().SetChunker([&random](const std::string& answer) {
            std::vector<std::string> pieces;
            std::size_t at = 0;
            while (at < answer.size()) {
                const std::size_t size = std::uniform_int_distribution<std::size_t>(1, 4)(random);
                pieces.push_back(answer.substr(at, size));
                at += size;
            }
            return pieces;
        });
        RunToEnd(cut, ConnectTranscript(), [&] { Connect(cut); });
        EXPECT_EQ(cut.Replies(), ConnectReplies());
    }
}

TEST_F(EngineTest, OverlongReplyInALiteralStepNeverOverrunsAndTimesOut) {
    RecordingLink quick(300ms);
    ASSERT_TRUE(quick.Open());
    std::vector<Exchange> t = ConnectTranscript();
    const std::string half(CDKestaDlg::kLineBufferSize / 2 + 100, 'x');
    t.insert(t.begin() + 2, {"CONF/182\r\n", {half, half}});
    RunToEnd(quick, t, [&] { Connect(quick); });
    EXPECT_EQ(quick.Replies(), ConnectReplies());
}

// Lines up to the buffer's size arrive whole however they are cut; one byte
// more is reported as an overrun and dropped through its line end.
TEST_F(EngineTest, LongDataLinesArriveWholeUpToTheBufferSize) {
    const int fits = CDKestaDlg::kLineBufferSize - 2;
    const std::string line = std::string(fits, 'L') + "\r\n";
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < line.size(); at += 4000) {
        pieces.push_back(line.substr(at, 4000));
    }
    std::vector<Exchange> t = ConnectTranscript();
    t[7] = {"?\r\n", pieces};
    t.insert(t.begin() + 8, {"?\r\n", {std::string(fits + 1, 'A'), "B\r\n"}});
    t.insert(t.begin() + 9, Answer("?\r\n", "ROADS,CB2\r\n"));
    RunToEnd(link, t, [&] { Connect(link); });
    std::vector<Reply> expected = ConnectReplies();
    expected.insert(expected.begin() + 2, {{"COLIST", line}, {"OVERRUN", ""}});
    EXPECT_EQ(link.Replies(), expected);
}

// A reply compared on fewer characters than it has leaves its line end to be
// awaited; an operation cut off there must not hand that wait to the next
// one, whose first step would then take any line.
TEST_F(EngineTest, NextOperationDoesNotInheritAnAwaitedLineEnd) {
    const std::vector<Exchange> connect = ConnectTranscript();
    std::vector<Exchange> t(connect.begin(), connect.begin() + 4);
    t.push_back({"CONF/137\r\n", {"0137/0001"}});
    t.push_back(Answer("a\r\n", "XYZ\r\n"));
    link.Instrument().SetTranscript(t);
    Connect(link);
    ASSERT_TRUE(link.Instrument().WaitForSends(5, 10s));
    ASSERT_TRUE(link.Instrument().WaitDelivered(10s));
    TransferRequest erase;
    erase.kind = TransferRequest::CodeErase;
    erase.itemName = u"CB1";
    Build(erase);
    link.StartErase();
    ASSERT_TRUE(link.Instrument().WaitForSends(6, 10s));
    ASSERT_TRUE(link.Instrument().WaitDelivered(10s));
    EXPECT_FALSE(link.Instrument().WaitForSends(7, 300ms)) << "a wrong answer to \"a\" was taken";
}

// After a stop the instrument may still be sending the stopped operation's
// line; the abort drops it, waits for each wake answer and then ends.
TEST_F(EngineTest, AbortAwaitsBothWakeAnswersPastLinesStillOnTheirWay) {
    RunToEnd(link,
             {{"a\r\n", {"*110002+0000000000000P12 81..00+000", "0000001234567 \r\n?\r\n"}},
              Answer("c\r\n", "?\r\n")},
             [&] { ASSERT_TRUE(link.Engine().StartAbort()); });
    EXPECT_EQ(link.Replies(), (std::vector<Reply>{{"TASKEND", ""}}));
    EXPECT_EQ(link.Engine().BytesSent(), 6u);
}
