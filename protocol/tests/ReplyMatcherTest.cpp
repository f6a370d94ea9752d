#include "protocol/ReplyMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Verdict = ReplyMatcher::Verdict;

// Chunks arrive one after the other; after each the matcher decides, and a
// matched reply is consumed as the engine does once the next step is out.
struct Arrival {
    std::string chunk;
    Verdict verdict;
    std::string line = {}; // Line and Refused: the line handed on
};

struct Case {
    const char* what;
    std::string reply;
    std::size_t compared;
    bool staleLinesFirst;
    std::vector<Arrival> arrivals;
    std::string left = {}; // what stays in the buffer at the end
};

const std::string kList = "[KESTARES]COLIST";
const std::string kLong(ReceiveBuffer::kCapacity + 1, 'A');

const Case kCases[] = {
    {"an answer compared on its one character", "?", 1, false, {{"?\r\n", Verdict::Matched}}},
    {"a reply cut into pieces is compared as one",
     "0182/0031",
     9,
     false,
     {{"01", Verdict::Wait}, {"82/00", Verdict::Wait}, {"31\r\n", Verdict::Matched}}},
    {"a wrong value is never taken",
     "0182/0031",
     9,
     false,
     {{"0182/0030\r\n", Verdict::Wait}},
     "0182/0030\r\n"},
    {"compared on eight characters, moves on only at the line end",
     "0137/0001",
     8,
     false,
     {{"0137/0002", Verdict::Wait}, {"\r\n", Verdict::Advance}}},
    {"a late line end is skipped, not taken for the next reply",
     "?",
     1,
     false,
     {{"?", Verdict::Matched}, {"\r\n?", Verdict::Matched}}},
    {"a warning sends the step again; its late tail is skipped",
     "0182/0031",
     9,
     false,
     {{"@W1", Verdict::Resend}, {"27\r\n0182/0031\r\n", Verdict::Matched}}},
    {"a warning during a list poll", kList, 16, false, {{"@W100\r\n", Verdict::Resend}}},
    {"an error ends with its code, in pieces",
     kList,
     16,
     false,
     {{"@", Verdict::Wait},
      {"E10", Verdict::Wait},
      {"3\r", Verdict::Wait},
      {"\n", Verdict::Refused, "@E103"}}},
    {"an error to a literal step", "?", 1, false, {{"@E102\r\nrest", Verdict::Refused, "@E102"}}},
    {"a data line goes on under its tag, cut or not",
     kList,
     16,
     false,
     {{"TRE", Verdict::Wait}, {"ES,CB1\r\n", Verdict::Line, "TREES,CB1\r\n"}}},
    {"two lines in one chunk hand on only the first",
     kList,
     16,
     false,
     {{"ROADS,CB2\r\nLOST,CB9\r\n", Verdict::Line, "ROADS,CB2\r\n"}}},
    {"an over-long line is dropped through its line end",
     kList,
     16,
     false,
     {{kLong, Verdict::Wait},
      {"B\r\n", Verdict::Overrun},
      {"NEXT\r\n", Verdict::Line, "NEXT\r\n"}}},
    {"an abort finds its answer behind lines still on their way",
     "?",
     1,
     true,
     {{"*110002+00 81..00+000", Verdict::Wait}, {"01 \r\n?\r\n", Verdict::Matched}}},
    {"outside an abort such lines stand in the way",
     "?",
     1,
     false,
     {{"*110002+00\r\n?\r\n", Verdict::Wait}},
     "*110002+00\r\n?\r\n"},
};

std::string Contents(const ReceiveBuffer& rx) {
    return {rx.Data(), static_cast<std::size_t>(rx.Length())};
}

} // namespace

TEST(ReplyMatcher, DecidesWhatTheReceivedBytesAre) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ReplyMatcher matcher;
        ReceiveBuffer rx;
        const ReplyMatcher::Awaited awaited{c.reply,
                                            std::string_view(c.reply).substr(0, c.compared)};
        for (const Arrival& a : c.arrivals) {
            rx.Append(a.chunk.data(), static_cast<int>(a.chunk.size()));
            const ReplyMatcher::Decision d = matcher.Decide(rx, awaited, c.staleLinesFirst);
            EXPECT_EQ(d.verdict, a.verdict) << a.chunk.substr(0, 20);
            if (d.verdict == Verdict::Matched) {
                ReplyMatcher::ConsumeReply(rx, d.consumed);
            }
            if (d.verdict == Verdict::Line || d.verdict == Verdict::Refused) {
                EXPECT_EQ(matcher.LineText(), a.line);
            }
            if (d.verdict == Verdict::Line) {
                EXPECT_EQ(matcher.Tag(), "COLIST");
            }
        }
        EXPECT_EQ(Contents(rx), c.left);
    }
}
