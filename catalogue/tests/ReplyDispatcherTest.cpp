#include "catalogue/ReplyDispatcher.h"
#include "catalogue/DeviceListing.h"
#include "catalogue/TransferMonitor.h"

#include "TempFolder.h"

#include "protocol/TransferRequest.h"
#include "transfer/DownloadFileSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest() { tree.Connect(u"COM1"); }

    void Reply(const char* tag, const std::string& line) {
        dispatcher.OnDeviceReply(tag, line.data(), static_cast<int>(line.size()));
    }
    void Notify(const char* tag) { dispatcher.OnDeviceReply(tag, nullptr, 7); }
    std::vector<std::u16string> Labels(EntryKind kind) const {
        std::vector<std::u16string> labels;
        for (const auto& entry : tree.Entries(kind)) {
            labels.push_back(entry.label);
        }
        return labels;
    }

    DeviceModel model;
    DeviceListing tree;
    std::vector<TransferMonitor::Outcome> outcomes;
    TransferMonitor monitor{[this](const auto& outcome) { outcomes.push_back(outcome); }};
    ReplyDispatcher dispatcher{model, tree, monitor};
};

using Texts = std::vector<std::u16string>;

} // namespace

TEST(ReplyTagMatching, SixBytesForMostEntriesSevenForTaskEndAndProgress) {
    EXPECT_TRUE(ReplyDispatcher::TagMatches("INICOMD", "INICOMD"));
    EXPECT_TRUE(ReplyDispatcher::TagMatches("INICOMX", "INICOMD"));
    EXPECT_TRUE(ReplyDispatcher::TagMatches("JBLISTZZ", "JBLIST"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches("JBLIS", "JBLIST"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches("TASKENX", "TASKEND"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches("TASKEN", "TASKEND"));
    EXPECT_TRUE(ReplyDispatcher::TagMatches("PROGRSA", "PROGRSA"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches("OVERRUX", "OVERRUN"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches("PROGRSB", "PROGRSA"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches(nullptr, "DEVICE"));
}

TEST_F(DispatcherTest, InitDoneIsRecognisedBySixLettersTaskEndNeedsAllSeven) {
    Notify("INICOMX");
    EXPECT_EQ(tree.InitDoneCount(), 1);
    monitor.BeginConnect();
    Notify("TASKENX");
    EXPECT_TRUE(monitor.Running());
    Notify("TASKEND");
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].ending, TransferMonitor::Ending::Done);
    Notify("??????");
    EXPECT_EQ(tree.ProgressSteps(), 0);
}

// A line too long for the engine was dropped: the operation it belonged to
// fails instead of ending as if nothing was missing.
TEST_F(DispatcherTest, OverrunFailsTheRunningOperation) {
    DownloadFileSink sink;
    TransferRequest request;
    request.jobLabel = u"/nonexistent-folder-of-the-test/x.gsi";
    monitor.BeginDownload(request, "SITE", sink);
    Notify("OVERRUN");
    Notify("TASKEND");
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].ending, TransferMonitor::Ending::Overlong);
    EXPECT_NE(outcomes[0].message.find("longer than 65536 bytes"), std::string::npos);
}

TEST_F(DispatcherTest, ListLinesBecomeEntriesAndStoredLinesInArrivalOrder) {
    Reply("DEVICE", "13....+000000000X4 1207\r\n");
    Reply("JBLIST", "B,2,1,1\r\n");
    Reply("JBLIST", "A,1,1,1\r\n");
    Reply("COLIST", "TOPO,1,12\r\n");
    Reply("FOLIST", "GSI,0\r\n");
    Reply("FOLIST", "GSI,0\r\n");
    Reply("HALIST", "MAINST,1,6\r\n");
    Reply("VALIST", "RAMPA,2,3\r\n");
    EXPECT_EQ(tree.PortText(), u"COM1: X4  SERIES");
    EXPECT_EQ(Labels(EntryKind::Job), (Texts{u"JobList:2 [B]", u"JobList:1 [A]"}));
    EXPECT_EQ(Labels(EntryKind::Code), (Texts{u"CodeBook:1"}));
    EXPECT_EQ(Labels(EntryKind::Format), (Texts{u"GSI,0", u"GSI,0"}));
    EXPECT_EQ(Labels(EntryKind::Hal), (Texts{u"HalList:1"}));
    EXPECT_EQ(Labels(EntryKind::Val), (Texts{u"ValList:2"}));
    EXPECT_EQ(model.FormatList(), (Texts{u"GSI,0\r\n", u"GSI,0\r\n"}));
    EXPECT_EQ(model.LineOf(u"JOB", u"JobList:1 [A]"), u"A,1,1,1\r\n");
    EXPECT_EQ(model.LineOf(u"VAL", u"ValList:2"), u"RAMPA,2,3\r\n");
}

TEST_F(DispatcherTest, DuplicateLabelsGiveTwoNodesAndOneMapEntry) {
    Reply("JBLIST", "S,7,1,2\r\n");
    Reply("JBLIST", "S,7,3,4,extra,more,and,more\r\n");
    EXPECT_EQ(Labels(EntryKind::Job), (Texts{u"JobList:7 [S]", u"JobList:7 [S]"}));
    EXPECT_EQ(model.MapOf(EntryKind::Job)->size(), 1U);
    // The tree shows four fields; the stored line keeps all eight.
    EXPECT_EQ(model.LineOf(u"JOB", u"JobList:7 [S]"), u"S,7,3,4,extra,more,and,more\r\n");
}

TEST_F(DispatcherTest, LinesWithTooFewFieldsAreSkipped) {
    Reply("JBLIST", "S,7,1\r\n");
    Reply("COLIST", "\r\n");
    Reply("HALDEL", "A,1\r\n");
    EXPECT_TRUE(tree.Entries(EntryKind::Job).empty());
    EXPECT_TRUE(tree.Entries(EntryKind::Code).empty());
    EXPECT_TRUE(model.MapOf(EntryKind::Job)->empty());
    EXPECT_TRUE(model.MapOf(EntryKind::Hal)->empty());
}

TEST_F(DispatcherTest, OverlongLinesAreCutToTheConversionLimit) {
    std::string name(900, 'N');
    Reply("COLIST", "X," + name + "\r\n");
    Reply("DEVICE", std::string(1000, 'D') + "\r\n");
    Reply("FOLIST", std::string(300, 'F'));
    ASSERT_EQ(tree.Entries(EntryKind::Code).size(), 1U);
    // "X," and 253 characters of the name: 255 units in all.
    EXPECT_EQ(tree.Entries(EntryKind::Code)[0].label, u"CodeBook:" + std::u16string(253, u'N'));
    EXPECT_EQ(model.MapOf(EntryKind::Code)->begin()->second.size(), 255U);
    EXPECT_EQ(tree.PortText(), u"COM1: DDD SERIES");
    EXPECT_EQ(model.FormatList().at(0).size(), 255U);
}

TEST_F(DispatcherTest, FirstLineAfterAnUploadClearsItsCategory) {
    Reply("JBLIST", "A,1,1,1\r\n");
    Reply("JBLIST", "B,2,1,1\r\n");
    Reply("COLIST", "C,3\r\n");
    Reply("JOBDEL", "C,3,1,1\r\n");
    EXPECT_EQ(Labels(EntryKind::Job), (Texts{u"JobList:3 [C]"}));
    Reply("JOBDEL", "D,4,1,1\r\n");
    Reply("JOBRFS", "E,5,1,1\r\n");
    Reply("JBLIST", "F,6,1,1\r\n");
    EXPECT_EQ(Labels(EntryKind::Job),
              (Texts{u"JobList:4 [D]", u"JobList:5 [E]", u"JobList:6 [F]"}));
    // The maps keep what the tree no longer shows; other categories stay.
    EXPECT_EQ(model.MapOf(EntryKind::Job)->size(), 6U);
    EXPECT_EQ(Labels(EntryKind::Code), (Texts{u"CodeBook:3"}));
    Reply("CODDEL", "G,7\r\n");
    Reply("HALDEL", "H,8,2\r\n");
    Reply("VALDEL", "V,9,2\r\n");
    EXPECT_EQ(Labels(EntryKind::Code), (Texts{u"CodeBook:7"}));
    EXPECT_EQ(Labels(EntryKind::Hal), (Texts{u"HalList:8"}));
    EXPECT_EQ(Labels(EntryKind::Val), (Texts{u"ValList:9"}));
}

// An upload whose list came back without a line left its category empty on
// the instrument; the tree must not go on showing the old entries.
TEST_F(DispatcherTest, UploadWhoseListComesBackEmptyEmptiesItsCategory) {
    Reply("HALIST", "MAINST,1,6\r\n");
    Reply("VALIST", "RAMPA,2,3\r\n");
    TransferRequest upload;
    upload.kind = TransferRequest::HalUpload;
    upload.lines = {u"a", u"b"};
    monitor.BeginUpload(upload, "road.hal");
    Notify("PROGRSA");
    Notify("PROGRSA");
    Notify("TASKEND");
    EXPECT_TRUE(tree.Entries(EntryKind::Hal).empty());
    EXPECT_EQ(Labels(EntryKind::Val), (Texts{u"ValList:2"}));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].ending, TransferMonitor::Ending::Done);
    EXPECT_EQ(outcomes[0].lines, 2u);
    EXPECT_EQ(tree.ProgressSteps(), 2);
}

TEST_F(DispatcherTest, RefreshLinesAppendWithoutClearing) {
    Reply("CODRFS", "A,1\r\n");
    Reply("CODRFS", "B,2\r\n");
    Reply("HALRFS", "H,1,3\r\n");
    Reply("VALRFS", "V,1,3\r\n");
    EXPECT_EQ(Labels(EntryKind::Code), (Texts{u"CodeBook:1", u"CodeBook:2"}));
    EXPECT_EQ(Labels(EntryKind::Hal), (Texts{u"HalList:1"}));
    EXPECT_EQ(Labels(EntryKind::Val), (Texts{u"ValList:1"}));
}

TEST_F(DispatcherTest, RepliesWithoutAConnectedPortAreIgnored) {
    tree.Disconnect();
    Reply("JBLIST", "A,1,1,1\r\n");
    Notify("INICOMD");
    tree.Connect(u"X4 SERIES");
    Reply("JBLIST", "A,1,1,1\r\n");
    EXPECT_TRUE(tree.Entries(EntryKind::Job).empty());
    EXPECT_TRUE(model.MapOf(EntryKind::Job)->empty());
    EXPECT_EQ(tree.InitDoneCount(), 0);
}

TEST_F(DispatcherTest, DownloadLinesGoToTheRunningDownloadOnly) {
    TempFolder folder;
    DownloadFileSink sink;
    Reply("DATBAK", "ignored while no download runs\r\n");
    TransferRequest request;
    const std::string path = folder.Path("job.gsi");
    request.jobLabel.assign(path.begin(), path.end());
    monitor.BeginDownload(request, "SITE", sink);
    Reply("DATBAK", "H\r\n");
    Reply("DATBAK", std::string("B2\0x\r\n", 6));
    Notify("PROGRSA");
    Notify("TASKEND");
    EXPECT_EQ(folder.ReadFile("job.gsi"), std::string("B2\0x\r\n", 6));
    // The header is no step; the data line and the stray report are.
    EXPECT_EQ(tree.ProgressSteps(), 2);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].ending, TransferMonitor::Ending::Done);
    // No list entry came from the download lines.
    EXPECT_TRUE(tree.Entries(EntryKind::Job).empty());
}
