#include "protocol/ScriptCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Send = ScriptCursor::Send;
using K = TransferRequest;

// Walks the script from the cursor as the engine does when every step is
// answered: each step's bytes, "<lists read>" for the connect's end, until
// the script ends.
std::vector<std::string> Walk(ScriptCursor& cursor) {
    std::vector<std::string> sent;
    for (int guard = 0; guard < ScriptTable::kStepCount; ++guard) {
        const ScriptCursor::Outgoing out = cursor.Prepare();
        if (out.action == Send::EndOfScript || out.action == Send::Nothing) {
            return sent;
        }
        sent.push_back(out.action == Send::ConnectDone ? "<lists read>" : std::string(out.Bytes()));
        if (out.action == Send::FileLine) {
            cursor.FileLineSent();
        }
        cursor.Next();
    }
    ADD_FAILURE() << "the script never ends";
    return sent;
}

const std::string kEof = "\x1A\r\n";

struct StartCase {
    std::int32_t kind;
    ScriptTable::Start start;
    std::vector<std::string> sent;
};

// The rows the catalogue names, and each operation runs from its row to the
// blank row behind it (templates unfilled: no request was built).
const StartCase kStarts[] = {
    {K::JobDownload,
     {1, 0},
     {"a\r\n", "c\r\n", "FORM/SET/[KSTDDTPA]\r\n", "JOB/RCV/[KSTDFTPA]/[XX]\r\n", "?\r\n"}},
    {K::CodeDownload,
     {1, 6},
     {"a\r\n", "c\r\n", "FORM/SET/[KSTDDTPA]\r\n", "CODE/RCV/[XX]\r\n", "?\r\n"}},
    {K::HalDownload, {1, 12}, {"a\r\n", "c\r\n", "HAL/RCV/[XX]\r\n", "?\r\n"}},
    {K::ValDownload, {1, 17}, {"a\r\n", "c\r\n", "VAL/RCV/[XX]\r\n", "?\r\n"}},
    {K::JobErase,
     {2, 0},
     {"a\r\n", "c\r\n", "JOB/ERASE/[KSTDDTPA]/[XX]\r\n", "JOB/CONF/LIST\r\n", "?\r\n"}},
    {K::CodeErase,
     {2, 6},
     {"a\r\n", "c\r\n", "CODE/ERASE/[XX]\r\n", "CODE/CONF/LIST\r\n", "?\r\n"}},
    {K::HalErase, {2, 12}, {"a\r\n", "c\r\n", "HAL/ERASE/[XX]\r\n", "HAL/CONF/LIST\r\n", "?\r\n"}},
    {K::ValErase, {2, 18}, {"a\r\n", "c\r\n", "VAL/ERASE/[XX]\r\n", "VAL/CONF/LIST\r\n", "?\r\n"}},
    {K::JobUpload,
     {3, 0},
     {"a\r\n", "c\r\n", "FORM/SET/[XX]\r\n", "JOB/SND/COORD/[XX]\r\n", "L1\r\n", kEof,
      "JOB/CONF/LIST\r\n", "?\r\n"}},
    {K::JobUploadSelect,
     {3, 9},
     {"a\r\n", "c\r\n", "JOB/SET/[XXXX]/[XX]\r\n", "FORM/SET/[XX]\r\n", "JOB/SND/COORD/[XX]\r\n",
      "L1\r\n", kEof, "JOB/CONF/LIST\r\n", "?\r\n"}},
    {K::CodeUpload,
     {3, 19},
     {"a\r\n", "c\r\n", "FORM/SET/[XX]\r\n", "CODE/SND/[XX]\r\n", "L1\r\n", kEof,
      "CODE/CONF/LIST\r\n", "?\r\n"}},
    {K::HalUpload,
     {3, 28},
     {"a\r\n", "c\r\n", "HAL/SND/[XX]\r\n", "L1\r\n", kEof, "HAL/CONF/LIST\r\n", "?\r\n"}},
    {K::ValUpload,
     {3, 36},
     {"a\r\n", "c\r\n", "VAL/SND/0\r\n", "L1\r\n", kEof, "VAL/CONF/LIST\r\n", "?\r\n"}},
};

} // namespace

TEST(ScriptCursor, EachKindStartsAtItsNamedRowAndRunsToTheBlankRowBehindIt) {
    for (const StartCase& c : kStarts) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(ScriptTable::StartOf(c.kind), c.start);
        ScriptCursor cursor;
        TransferRequest request;
        request.kind = c.kind;
        request.lines = {u"L1"};
        cursor.Install(request, cursor.Table());
        cursor.Begin(ScriptTable::StartOf(c.kind));
        EXPECT_EQ(Walk(cursor), c.sent);
    }
    for (const std::int32_t none : {std::int32_t{K::Empty}, std::int32_t{13}}) {
        EXPECT_EQ(ScriptTable::StartOf(none).script, -1);
    }
}

TEST(ScriptCursor, ConnectReadsEveryListAndAnAbortStopsAfterTheWakeSteps) {
    ScriptCursor cursor;
    cursor.Begin(ScriptTable::ConnectStart());
    const std::vector<std::string> connect = Walk(cursor);
    ASSERT_EQ(connect.size(), 17u);
    EXPECT_EQ(connect[2], "CONF/182\r\n");
    EXPECT_EQ(connect.back(), "<lists read>");
    cursor.Begin(ScriptTable::ConnectStart(), 2);
    EXPECT_EQ(Walk(cursor), (std::vector<std::string>{"a\r\n", "c\r\n"}));
    cursor.Clear();
    EXPECT_EQ(cursor.Prepare().action, Send::Nothing);
    EXPECT_FALSE(cursor.HasCurrentStep());
}

// What the current step awaits: the whole reply, the bytes compared, and
// whether the step polls for the next line of a list.
TEST(ScriptCursor, CurrentStepSaysWhatItAwaits) {
    struct Case {
        int step;
        std::string reply;
        std::string compared;
        bool polling;
    };
    const Case cases[] = {
        {0, "?", "?", false},
        {4, "0137/0001", "0137/000", false},
        {6, "[KESTARES]COLIST", "[KESTARES]COLIST", false},
        {7, "[KESTARES]COLIST", "[KESTARES]COLIST", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        ScriptCursor cursor;
        cursor.Begin({ScriptTable::kConnectScript, c.step});
        cursor.Prepare();
        EXPECT_EQ(cursor.AwaitedReply(), c.reply);
        EXPECT_EQ(cursor.ComparedBytes(), c.compared);
        EXPECT_EQ(cursor.Polling(), c.polling);
    }
}
