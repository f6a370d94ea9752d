#include "protocol/ScriptBuilder.h"
#include "platform/CodePage.h"
#include "protocol/CDKestaDlg.h"
#include "protocol/TransferRequest.h"

#include <gtest/gtest.h>

namespace {

struct Built {
    ScriptTable table;
    ScriptBuildResult result;
};

Built BuildFrom(const TransferRequest& request, const ScriptTable* start = nullptr) {
    Built built;
    if (start != nullptr) {
        built.table = *start;
    } else {
        FillScriptTable(built.table);
    }
    built.result = ScriptBuilder(CodePage("")).Build(request, built.table);
    return built;
}

TransferRequest Request(int kind) {
    TransferRequest request;
    request.kind = kind;
    return request;
}

void ExpectCommand(const ScriptTable& table, int script, int step, const std::string& text) {
    EXPECT_EQ(table.Command(script, step), text);
    EXPECT_EQ(table.scripts[script].commandLength[step], static_cast<int>(text.size()));
}

void ExpectReply(const ScriptTable& table, int script, int step, const std::string& text) {
    EXPECT_EQ(table.Reply(script, step), text);
    EXPECT_EQ(table.scripts[script].replyLength[step], static_cast<int>(text.size()));
}

} // namespace

TEST(ScriptBuilder, JobDownloadFillsFormatPartAndItem) {
    TransferRequest request = Request(TransferRequest::JobDownload);
    request.formatCode = u"0";
    request.partCode = u"1";
    request.itemName = u"ROAD1";
    const Built built = BuildFrom(request);
    ASSERT_TRUE(built.result);
    ExpectCommand(built.table, 1, 2, "FORM/SET/0\r\n");
    ExpectCommand(built.table, 1, 3, "JOB/RCV/1/ROAD1\r\n");
    ExpectReply(built.table, 1, 2, "GSI,0,1,3");
    // Steps the kind does not run keep their templates.
    EXPECT_EQ(built.table.Command(1, 8), "FORM/SET/[KSTDDTPA]\r\n");
    EXPECT_EQ(built.table.scripts[1].replyLength[3], 16);
}

TEST(ScriptBuilder, FormatNameIsGsiOnlyForTheExactTextZero) {
    TransferRequest request = Request(TransferRequest::CodeDownload);
    request.formatCode = u"1";
    request.itemName = u"CB";
    Built built = BuildFrom(request);
    ExpectCommand(built.table, 1, 8, "FORM/SET/1\r\n");
    ExpectCommand(built.table, 1, 9, "CODE/RCV/CB\r\n");
    ExpectReply(built.table, 1, 8, "IDEX,1,1,3");

    request.formatCode = u"00";
    built = BuildFrom(request);
    ExpectReply(built.table, 1, 8, "IDEX,00,1,3");
}

TEST(ScriptBuilder, EraseCommandsTakeItemAndPart) {
    TransferRequest job = Request(TransferRequest::JobErase);
    job.itemName = u"7";
    job.partCode = u"COORDS";
    ExpectCommand(BuildFrom(job).table, 2, 2, "JOB/ERASE/COORDS/7\r\n");

    const std::pair<int, int> others[] = {{TransferRequest::CodeErase, 8},
                                          {TransferRequest::HalErase, 14},
                                          {TransferRequest::ValErase, 20}};
    const char* prefixes[] = {"CODE/ERASE/", "HAL/ERASE/", "VAL/ERASE/"};
    for (int i = 0; i < 3; ++i) {
        TransferRequest request = Request(others[i].first);
        request.itemName = u"N1";
        ExpectCommand(BuildFrom(request).table, 2, others[i].second,
                      std::string(prefixes[i]) + "N1\r\n");
    }
}

TEST(ScriptBuilder, DownloadsOfAlignmentsFillTheirReceiveCommand) {
    TransferRequest hal = Request(TransferRequest::HalDownload);
    hal.itemName = u"H2";
    ExpectCommand(BuildFrom(hal).table, 1, 14, "HAL/RCV/H2\r\n");
    TransferRequest val = Request(TransferRequest::ValDownload);
    val.itemName = u"V9";
    ExpectCommand(BuildFrom(val).table, 1, 19, "VAL/RCV/V9\r\n");
}

TEST(ScriptBuilder, JobUploadEchoesTheStoredLine) {
    TransferRequest request = Request(TransferRequest::JobUpload);
    request.formatCode = u"0";
    request.itemName = u"12";
    request.echoName = u"SITE,12,3,4\r\n";
    const Built built = BuildFrom(request);
    ExpectCommand(built.table, 3, 2, "FORM/SET/0\r\n");
    ExpectCommand(built.table, 3, 3, "JOB/SND/COORD/12\r\n");
    ExpectReply(built.table, 3, 2, "GSI,0,1,3");
    ExpectReply(built.table, 3, 3, "SITE,12,3,4\r\n");
}

TEST(ScriptBuilder, JobUploadSelectExpectsTheNameBeforeTheFirstComma) {
    TransferRequest request = Request(TransferRequest::JobUploadSelect);
    request.formatCode = u"1";
    request.itemName = u"5";
    request.jobLabel = u"NEWJOB";
    request.echoName = u"A1,2,3";
    Built built = BuildFrom(request);
    ExpectCommand(built.table, 3, 11, "JOB/SET/NEWJOB/5\r\n");
    ExpectCommand(built.table, 3, 12, "FORM/SET/1\r\n");
    ExpectCommand(built.table, 3, 13, "JOB/SND/COORD/5\r\n");
    ExpectReply(built.table, 3, 12, "IDEX,1,1,3");
    ExpectReply(built.table, 3, 11, "A1");

    request.echoName = u"A1";
    built = BuildFrom(request);
    ExpectReply(built.table, 3, 11, "");
}

TEST(ScriptBuilder, CodeUploadUsesTheFormatCodeForBothCommands) {
    TransferRequest request = Request(TransferRequest::CodeUpload);
    request.formatCode = u"CB7";
    request.echoName = u"TREES";
    const Built built = BuildFrom(request);
    ExpectCommand(built.table, 3, 21, "FORM/SET/CB7\r\n");
    ExpectCommand(built.table, 3, 22, "CODE/SND/CB7\r\n");
    ExpectReply(built.table, 3, 22, "TREES");
    ExpectReply(built.table, 3, 21, "IDEX,CB7,1,3");
}

TEST(ScriptBuilder, RefillingKindsStartFromFreshTemplates) {
    TransferRequest job = Request(TransferRequest::JobErase);
    job.itemName = u"7";
    job.partCode = u"OBSERV";
    const Built first = BuildFrom(job);
    TransferRequest code = Request(TransferRequest::CodeErase);
    code.itemName = u"C";
    const Built second = BuildFrom(code, &first.table);
    EXPECT_EQ(second.table.Command(2, 2), "JOB/ERASE/[KSTDDTPA]/[XX]\r\n");
    EXPECT_EQ(second.table.scripts[2].commandLength[2], 27);
}

TEST(ScriptBuilder, HalAndValUploadsKeepWhatTheTableHolds) {
    ScriptTable start;
    FillScriptTable(start);
    start.stepIndex = 5;
    start.WriteCommand(1, 3, "JOB/RCV/1/KEEP\r\n");
    const Built hal = BuildFrom(Request(TransferRequest::HalUpload), &start);
    ExpectCommand(hal.table, 3, 30, "HAL/SND/0\r\n");
    EXPECT_EQ(hal.table.Command(1, 3), "JOB/RCV/1/KEEP\r\n");
    EXPECT_EQ(hal.table.stepIndex, 5);

    const Built val = BuildFrom(Request(TransferRequest::ValUpload), &hal.table);
    for (int s = 0; s < ScriptTable::kScriptCount; ++s) {
        EXPECT_EQ(val.table.scripts[s].command, hal.table.scripts[s].command);
        EXPECT_EQ(val.table.scripts[s].reply, hal.table.scripts[s].reply);
    }
    ExpectCommand(val.table, 3, 38, "VAL/SND/0\r\n");
    // A second HAL upload finds its command already filled and keeps it.
    ExpectCommand(BuildFrom(Request(TransferRequest::HalUpload), &val.table).table, 3, 30,
                  "HAL/SND/0\r\n");
}

TEST(ScriptBuilder, EveryOccurrenceIsReplacedAndTextsGoOutInTheWireCodePage) {
    TransferRequest request = Request(TransferRequest::HalErase);
    request.itemName = u"\u00C9[XX]\u4E2D";
    const Built built = BuildFrom(request);
    // The value is inserted once; a placeholder inside the value is not
    // expanded again, and a character the code page lacks becomes '?'.
    EXPECT_EQ(built.table.Command(2, 14), "HAL/ERASE/\xC9[XX]?\r\n");
}

TEST(ScriptBuilder, TextsLongerThanASlotAreRefused) {
    TransferRequest request = Request(TransferRequest::JobDownload);
    request.formatCode = u"0";
    request.partCode = u"COORDS";
    request.itemName = std::u16string(90, u'A'); // 106 bytes with the command around it
    const Built built = BuildFrom(request);
    EXPECT_FALSE(built.result);
    EXPECT_NE(built.result.error.find("99"), std::string::npos);
}

TEST(ScriptBuilder, UnknownKindsRewriteNothing) {
    ScriptTable start;
    FillScriptTable(start);
    start.WriteCommand(0, 20, "kept");
    TransferRequest request = Request(13);
    request.itemName = u"X";
    const Built built = BuildFrom(request, &start);
    EXPECT_TRUE(built.result);
    EXPECT_EQ(built.table.Command(0, 20), "kept");
}

TEST(BuildScript, CopiesTheRequestAndTableIntoTheEngine) {
    CDKestaDlg engine;
    TransferRequest request = Request(TransferRequest::CodeUpload);
    request.formatCode = u"3";
    request.echoName = u"CB";
    request.lines = {u"L1", u"", u"L3"};
    request.nextLine = 0;
    ASSERT_TRUE(request.BuildScript(engine));
    const TransferRequest copied = engine.RequestSnapshot();
    EXPECT_EQ(copied.kind, TransferRequest::CodeUpload);
    EXPECT_EQ(copied.lines, request.lines);
    EXPECT_EQ(engine.TableSnapshot().Command(3, 22), "CODE/SND/3\r\n");
}

TEST(BuildScript, RefusedRequestsLeaveTheEngineAsItWas) {
    CDKestaDlg engine;
    TransferRequest good = Request(TransferRequest::HalErase);
    good.itemName = u"H1";
    ASSERT_TRUE(good.BuildScript(engine));

    TransferRequest longName = Request(TransferRequest::ValErase);
    longName.itemName = std::u16string(120, u'V');
    EXPECT_FALSE(longName.BuildScript(engine));

    TransferRequest longLine = Request(TransferRequest::JobUpload);
    longLine.lines = {u"ok", std::u16string(511, u'x')};
    const ScriptBuildResult refused = longLine.BuildScript(engine);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("Line 2"), std::string::npos);

    EXPECT_EQ(engine.RequestSnapshot().kind, TransferRequest::HalErase);
    EXPECT_EQ(engine.TableSnapshot().Command(2, 14), "HAL/ERASE/H1\r\n");

    TransferRequest exact = Request(TransferRequest::JobUpload);
    exact.lines = {std::u16string(510, u'x')};
    EXPECT_TRUE(exact.BuildScript(engine));
}
