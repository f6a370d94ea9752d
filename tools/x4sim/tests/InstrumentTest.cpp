#include "Instrument.h"
#include "UploadSink.h"

#include <gtest/gtest.h>

namespace {

class RecordingSink : public UploadSink {
public:
    void UploadStarted(const std::string& category) override {
        events.push_back("start " + category);
    }
    void UploadLine(const std::string& bytes) override { events.push_back(bytes); }
    void UploadEnded(bool completed) override { events.push_back(completed ? "done" : "dropped"); }
    std::vector<std::string> events;
};

class InstrumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(content.Load(error)) << error;
    }
    std::string Ask(const std::string& command) {
        return instrument.Handle(command + "\r\n").bytes;
    }
    // The lines a list or transfer brings: the first reply, then one per "?"
    // until the end line.
    std::vector<std::string> Collect(const std::string& command) {
        std::vector<std::string> lines;
        for (std::string reply = Ask(command); reply != Instrument::kEndLine; reply = Ask("?")) {
            lines.push_back(reply);
            if (lines.size() > 10000) {
                break;
            }
        }
        return lines;
    }

    InstrumentContent content{ContentFiles::BuiltIn()};
    RecordingSink sink;
    Instrument instrument{content, &sink};
};

std::vector<std::string> Without(std::vector<std::string> lines, std::size_t first) {
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(first));
    return lines;
}

} // namespace

TEST_F(InstrumentTest, AnswersTheConnectChecksFormatsAndUnknownCommands) {
    const std::vector<std::pair<std::string, std::string>> exchanges = {
        {"a", "?"},
        {"c", "?"},
        {"CONF/182", "0182/0031"},
        {"CONF/136", "0136/0000"},
        {"CONF/137", "0137/0001"},
        {"CONF/999", "@E102"},
        {"FORM/SET/0", "GSI,0,1,3"},
        {"FORM/SET/1", "IDEX,1,1,3"},
        {"FORM/SET/2", "IDEX,2,1,3"},
        {"FORM/SET/ASCII", "IDEX,ASCII,1,3"},
        {"FORM/SET/", "@E102"},
        {"NO/SUCH/COMMAND", "@E101"},
    };
    for (const auto& [command, reply] : exchanges) {
        EXPECT_EQ(Ask(command), reply + "\r\n") << command;
    }
    const std::string identity = Ask("GET//WI13");
    ASSERT_GE(identity.size(), 9u);
    // The port node shows the first three of the last seven characters.
    EXPECT_EQ(identity.substr(identity.size() - 2 - 7, 3), "X4 ");
}

TEST_F(InstrumentTest, ListsComeLineByLineAndEndWithTheEndLine) {
    const auto jobs = Collect("JOB/CONF/LIST");
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs[0], "IN:BRIDGE,1,24,36,2024-05-14,09:31\r\n");
    EXPECT_EQ(Ask("?"), Instrument::kEndLine);
    EXPECT_EQ(Collect("FORM/CONF/LIST").size(), 3u);
    EXPECT_EQ(Collect("CODE/CONF/LIST").size(), 2u);
    EXPECT_EQ(Collect("HAL/CONF/LIST").size(), 2u);
    EXPECT_EQ(Collect("VAL/CONF/LIST").size(), 2u);
}

TEST_F(InstrumentTest, DownloadSendsAHeaderThenTheNumberedDataLines) {
    Ask("FORM/SET/0");
    const SimReply header = instrument.Handle("JOB/RCV/COORDS/1\r\n");
    EXPECT_EQ(header.bytes, "JOB,IN:BRIDGE,1,COORDS,GSI,32\r\n");
    EXPECT_EQ(header.dataIndex, 0);
    const auto expected =
        InstrumentContent::Lines(*ContentFiles::BuiltIn().Read("data/JOB/1/COORDS.GSI"));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const SimReply line = instrument.Handle("?\r\n");
        EXPECT_EQ(line.bytes, expected[i]);
        EXPECT_EQ(line.dataIndex, static_cast<int>(i + 1));
    }
    EXPECT_EQ(Ask("?"), Instrument::kEndLine);

    Ask("FORM/SET/1");
    const auto idex = Collect("JOB/RCV/OBSERV/3");
    ASSERT_FALSE(idex.empty());
    EXPECT_EQ(idex[0], "JOB,IN:SITE03,3,OBSERV,IDEX,28\r\n");
    EXPECT_EQ(idex[1], "HEADER\r\n");
    EXPECT_EQ(Collect("HAL/RCV/2").size(), 5u);
    EXPECT_EQ(Collect("JOB/RCV/COORDS/99"), std::vector<std::string>());
    EXPECT_EQ(Ask("JOB/RCV/NOPART/1"), "@E102\r\n");
}

TEST_F(InstrumentTest, CodeUploadAcknowledgesEveryLineAndReplacesTheList) {
    EXPECT_EQ(Ask("FORM/SET/1"), "IDEX,1,1,3\r\n");
    EXPECT_EQ(Ask("CODE/SND/1"), "TOPO\r\n");
    EXPECT_TRUE(instrument.ReceivingUpload());
    EXPECT_EQ(Ask("CODE \"A\";"), "?\r\n");
    EXPECT_EQ(Ask(""), "?\r\n");
    EXPECT_EQ(Ask("CODE/SND/1"), "TOPO\r\n"); // repeated after a time-out, not data
    EXPECT_EQ(Ask("CODE \"B\";"), "?\r\n");
    EXPECT_EQ(Ask("\x1A"), "?\r\n");
    EXPECT_FALSE(instrument.ReceivingUpload());
    EXPECT_EQ(sink.events, (std::vector<std::string>{"start COD", "CODE \"A\";\r\n", "\r\n",
                                                     "CODE \"B\";\r\n", "done"}));
    EXPECT_EQ(Collect("CODE/CONF/LIST")[0], "TOPO,1,2\r\n") << "non-empty lines";
    EXPECT_EQ(Without(Collect("CODE/RCV/1"), 1),
              (std::vector<std::string>{"CODE \"A\";\r\n", "\r\n", "CODE \"B\";\r\n"}));
    Ask("FORM/SET/0");
    EXPECT_EQ(Collect("CODE/RCV/1").size(), 1u) << "the GSI form was replaced too";
}

TEST_F(InstrumentTest, JobUploadIsConfirmedWithTheListLineOrAfterJobSetWithAcknowledge) {
    Ask("FORM/SET/0");
    EXPECT_EQ(Ask("JOB/SND/COORD/3"), "IN:SITE03,3,12,18,2024-06-02,07:48\r\n");
    Ask("*110001+00000000000000A1 81..00+0000000000001000 ");
    Ask("*410002+0000000000000TREE ");
    Ask("\x1A");
    EXPECT_EQ(Collect("JOB/CONF/LIST")[2], "IN:SITE03,3,1,18,2024-06-02,07:48\r\n");

    EXPECT_EQ(Ask("JOB/SET/NEWJOB/4"), "NEWJOB\r\n");
    EXPECT_EQ(Ask("FORM/SET/0"), "GSI,0,1,3\r\n");
    EXPECT_EQ(Ask("JOB/SND/COORD/4"), "?\r\n");
    Ask("\x1A");
    EXPECT_EQ(Collect("JOB/CONF/LIST")[3], "NEWJOB,4,0,0,2024-06-03,16:20\r\n");
    EXPECT_EQ(Ask("JOB/SND/COORD/4"), "NEWJOB,4,0,0,2024-06-03,16:20\r\n")
        << "JOB/SET opens the job for one transfer only";
    EXPECT_EQ(Ask("JOB/SND/COORD/77"), "?\r\n") << "still receiving job 4";
}

TEST_F(InstrumentTest, ANewOperationAbandonsAnUnfinishedUpload) {
    Ask("CODE/SND/2");
    Ask("line");
    EXPECT_EQ(Ask("a"), "?\r\n");
    EXPECT_FALSE(instrument.ReceivingUpload());
    EXPECT_EQ(sink.events.back(), "dropped");
    EXPECT_EQ(Collect("CODE/CONF/LIST")[1], "UTILITY,2,8\r\n");
    EXPECT_EQ(Ask("JOB/SND/COORD/99"), "@E103\r\n");
    EXPECT_FALSE(instrument.ReceivingUpload());
}

TEST_F(InstrumentTest, RoadUploadsBecomeTheRoadAlignments) {
    EXPECT_EQ(Ask("HAL/SND/0"), "RoadHal,1,0\r\n");
    Ask("START,0.000,1.000,2.000,0.0000");
    Ask("STRAIGHT,10.000");
    Ask("\x1A");
    EXPECT_EQ(Collect("HAL/CONF/LIST").back(), "RoadHal,3,2\r\n");
    EXPECT_EQ(Ask("VAL/SND/0"), "RoadVal,1,0\r\n");
    Ask("\x1A");
    EXPECT_EQ(Collect("VAL/CONF/LIST").back(), "RoadVal,3,0\r\n");
    EXPECT_EQ(Ask("HAL/SND/0"), "RoadHal,1,0\r\n");
    Ask("PVI,1");
    Ask("\x1A");
    EXPECT_EQ(Collect("HAL/CONF/LIST").size(), 3u) << "replaced, not added again";
    EXPECT_EQ(Collect("HAL/RCV/3"), (std::vector<std::string>{"HAL,RoadHal,3,1\r\n", "PVI,1\r\n"}));
}

TEST_F(InstrumentTest, EraseRemovesItemsAndJobsWhenBothPartsAreEmpty) {
    EXPECT_EQ(Ask("CODE/ERASE/1"), "?\r\n");
    EXPECT_EQ(Collect("CODE/CONF/LIST"), (std::vector<std::string>{"UTILITY,2,8\r\n"}));
    EXPECT_EQ(Ask("CODE/ERASE/1"), "@E103\r\n");
    EXPECT_EQ(Ask("JOB/ERASE/OBSERV/1"), "?\r\n");
    EXPECT_EQ(Collect("JOB/CONF/LIST")[0], "IN:BRIDGE,1,24,0,2024-05-14,09:31\r\n");
    EXPECT_EQ(Collect("JOB/RCV/OBSERV/1").size(), 1u) << "header only";
    EXPECT_EQ(Ask("JOB/ERASE/COORDS/2"), "?\r\n");
    const auto jobs = Collect("JOB/CONF/LIST");
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[1].substr(0, 9), "IN:SITE03");
    EXPECT_EQ(Ask("HAL/ERASE/2"), "?\r\n");
    EXPECT_EQ(Collect("HAL/CONF/LIST").size(), 1u);
    EXPECT_EQ(Ask("VAL/ERASE/1"), "?\r\n");
    EXPECT_EQ(Collect("VAL/CONF/LIST").size(), 1u);
}
