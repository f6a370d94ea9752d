#include "catalogue/ReplyDispatcher.h"
#include "catalogue/DeviceListing.h"

#include "transfer/DownloadSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what a download would write; answers as told.
class RecordingSink : public DownloadSink {
public:
    std::vector<std::string> lines;
    std::vector<std::u16string> formats;
    int ends = 0;
    bool countLines = true;
    bool endAnswer = true;

    bool OnDataLine(const TransferRequest& request, std::string_view line) override {
        lines.emplace_back(line);
        formats.push_back(request.pcFormat);
        return countLines;
    }
    bool OnTaskEnd(const TransferRequest& /*request*/) override {
        ++ends;
        return endAnswer;
    }
};

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
    ReplyDispatcher dispatcher{model, tree};
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
    EXPECT_FALSE(ReplyDispatcher::TagMatches("PROGRSB", "PROGRSA"));
    EXPECT_FALSE(ReplyDispatcher::TagMatches(nullptr, "DEVICE"));
}

TEST_F(DispatcherTest, InitDoneIsRecognisedBySixLettersTaskEndNeedsAllSeven) {
    Notify("INICOMX");
    EXPECT_EQ(tree.InitDoneCount(), 1);
    RecordingSink sink;
    dispatcher.SetDownloadSink(&sink, {});
    Notify("TASKENX");
    EXPECT_EQ(sink.ends, 0);
    Notify("TASKEND");
    EXPECT_EQ(sink.ends, 1);
    EXPECT_EQ(tree.ProgressEnds(), 1);
    Notify("OVERRUN");
    Notify("??????");
    EXPECT_EQ(tree.ProgressSteps(), 0);
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

TEST_F(DispatcherTest, FirstLineAfterAnUploadClearsItsCategoryAndEndsTheProgress) {
    Reply("JBLIST", "A,1,1,1\r\n");
    Reply("JBLIST", "B,2,1,1\r\n");
    Reply("COLIST", "C,3\r\n");
    Reply("JOBDEL", "C,3,1,1\r\n");
    EXPECT_EQ(Labels(EntryKind::Job), (Texts{u"JobList:3 [C]"}));
    EXPECT_EQ(tree.ProgressEnds(), 1);
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
    EXPECT_EQ(tree.ProgressEnds(), 5);
}

TEST_F(DispatcherTest, RefreshLinesAppendWithoutClearing) {
    Reply("CODRFS", "A,1\r\n");
    Reply("CODRFS", "B,2\r\n");
    Reply("HALRFS", "H,1,3\r\n");
    Reply("VALRFS", "V,1,3\r\n");
    EXPECT_EQ(Labels(EntryKind::Code), (Texts{u"CodeBook:1", u"CodeBook:2"}));
    EXPECT_EQ(Labels(EntryKind::Hal), (Texts{u"HalList:1"}));
    EXPECT_EQ(Labels(EntryKind::Val), (Texts{u"ValList:1"}));
    EXPECT_EQ(tree.ProgressEnds(), 0);
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

TEST_F(DispatcherTest, DownloadLinesGoToTheSinkAndStepAsItAnswers) {
    Reply("DATBAK", "ignored without a sink\r\n");
    RecordingSink sink;
    TransferRequest request;
    request.pcFormat = u"CASS";
    dispatcher.SetDownloadSink(&sink, [&request] { return request; });
    Reply("DATBAK", "B1\r\n");
    sink.countLines = false;
    Reply("DATBAK", "B2\r\n");
    sink.countLines = true;
    Reply("DATBAK", std::string("B3\0x\r\n", 6));
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{"B1\r\n", "B2\r\n", std::string("B3\0x\r\n", 6)}));
    EXPECT_EQ(sink.formats.front(), u"CASS");
    EXPECT_EQ(tree.ProgressSteps(), 2);
    sink.endAnswer = false;
    Notify("TASKEND");
    EXPECT_EQ(tree.ProgressEnds(), 0);
    Notify("PROGRSA");
    EXPECT_EQ(tree.ProgressSteps(), 3);
    // No list entry came from the download lines.
    EXPECT_TRUE(tree.Entries(EntryKind::Job).empty());
}
