#include "Transcripts.h"

#include <gtest/gtest.h>

namespace transcripts {

Exchange Answer(std::string expect, std::string answer) {
    return {std::move(expect), {std::move(answer)}};
}
Exchange Silence(std::string expect) {
    return {std::move(expect), {}};
}

std::vector<Exchange> ConnectTranscript() {
    return {
        Answer("a\r\n", "?\r\n"),
        Answer("c\r\n", "?\r\n"),
        Answer("CONF/182\r\n", "0182/0031\r\n"),
        Answer("CONF/136\r\n", "0136/0000\r\n"),
        Answer("CONF/137\r\n", "0137/0001\r\n"),
        Answer("GET//WI13\r\n", "TPS X4  1234\r\n"),
        Answer("CODE/CONF/LIST\r\n", "TREES,CB1\r\n"),
        Answer("?\r\n", "ROADS,CB2\r\n"),
        Answer("?\r\n", kEnd),
        Answer("JOB/CONF/LIST\r\n", "SITE1,7,12,30\r\n"),
        Answer("?\r\n", kEnd),
        Answer("FORM/CONF/LIST\r\n", "GSI,0\r\n"),
        Answer("?\r\n", "IDEX,1\r\n"),
        Answer("?\r\n", kEnd),
        Answer("HAL/CONF/LIST\r\n", kEnd), // an empty list still gets its poll
        Answer("?\r\n", kEnd),
        Answer("VAL/CONF/LIST\r\n", "VAL1,V1,4\r\n"),
        Answer("?\r\n", kEnd),
    };
}

std::vector<Reply> ConnectReplies() {
    return {
        {"DEVICE", "TPS X4  1234\r\n"},
        {"COLIST", "TREES,CB1\r\n"},
        {"COLIST", "ROADS,CB2\r\n"},
        {"JBLIST", "SITE1,7,12,30\r\n"},
        {"FOLIST", "GSI,0\r\n"},
        {"FOLIST", "IDEX,1\r\n"},
        {"VALIST", "VAL1,V1,4\r\n"},
        {"INICOMD", ""},
        {"TASKEND", ""},
    };
}

std::vector<std::string> Expected(const std::vector<Exchange>& transcript) {
    std::vector<std::string> sent;
    for (const Exchange& e : transcript) {
        sent.push_back(e.expect);
    }
    return sent;
}

void Connect(RecordingLink& link) {
    link.Engine().StartConnect();
}

// Runs a whole transcript from its start operation and waits for its end.
void RunToEnd(RecordingLink& link, const std::vector<Exchange>& transcript,
              const std::function<void()>& start) {
    link.Instrument().SetTranscript(transcript);
    start();
    ASSERT_TRUE(link.WaitForTag("TASKEND")) << "the operation did not end";
    EXPECT_EQ(link.Instrument().Sent(), Expected(transcript));
    EXPECT_TRUE(link.Instrument().Unexpected().empty());
}

TransferRequest Upload(int kind, std::vector<std::u16string> lines) {
    TransferRequest request;
    request.kind = kind;
    request.formatCode = u"3";
    request.echoName = u"TREES";
    request.lines = std::move(lines);
    return request;
}

} // namespace transcripts
