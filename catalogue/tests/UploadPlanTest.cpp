#include "catalogue/UploadPlan.h"

#include <gtest/gtest.h>

namespace {

DeviceModel DemoModel() {
    DeviceModel model;
    model.Store(EntryKind::Job, u"JobList:3 [IN:SITE03]",
                u"IN:SITE03,3,12,18,2024-06-02,07:48\r\n");
    model.Store(EntryKind::Job, u"JobList:4 []", u",4,0,0,2024-06-03,16:20\r\n");
    model.Store(EntryKind::Job, u"JobList:9 []", u",9\r\n");
    model.Store(EntryKind::Code, u"CodeBook:1", u"TOPO,1,12\r\n");
    model.Store(EntryKind::Hal, u"HalList:2", u"RAMPA,2,4\r\n");
    model.Store(EntryKind::Val, u"ValList:1", u"MAINST,1,5\r\n");
    model.AddFormat(u"GSI,0,GSI-16 blocks\r\n");
    model.AddFormat(u"IDEX,1,IDEX database\r\n");
    return model;
}

UploadFile Lines(std::vector<std::u16string> lines) {
    UploadFile file;
    file.status = lines.empty() ? UploadFile::Status::Empty : UploadFile::Status::Read;
    file.lines = std::move(lines);
    return file;
}

UploadPlan::Dialog Prepared(const std::u16string& category, const std::u16string& label) {
    const auto dialog = UploadPlan::Prepare(DemoModel(), {category, label});
    return dialog.value_or(UploadPlan::Dialog{});
}

} // namespace

TEST(UploadPlan, DialogModesNamesAndDataTypesByCategory) {
    const auto job = Prepared(u"JOB", u"JobList:3 [IN:SITE03]");
    EXPECT_EQ(job.mode, 8);
    EXPECT_EQ(job.fileName, u"IN:SITE03");
    EXPECT_EQ(job.dataTypes.size(), 2u);
    EXPECT_EQ(Prepared(u"JOB", u"JobList:4 []").fileName, u"default");
    const auto code = Prepared(u"COD", u"CodeBook:1");
    EXPECT_EQ(code.mode, 10);
    EXPECT_EQ(code.fileName, u"TOPO");
    EXPECT_TRUE(code.dataTypes.empty());
    EXPECT_EQ(Prepared(u"HAL", u"HalList:2").mode, 11);
    EXPECT_EQ(Prepared(u"VAL", u"ValList:1").mode, 12);
    EXPECT_FALSE(UploadPlan::Prepare(DemoModel(), {u"FOR", u"GSI,0,GSI-16 blocks"}));
}

TEST(UploadPlan, JobWithANameEchoesItsStoredLine) {
    const auto dialog = Prepared(u"JOB", u"JobList:3 [IN:SITE03]");
    const auto decision = UploadPlan::Decide(dialog, u"/pc/a.gsi", Lines({u"A", u"", u"B"}),
                                             u"SITE03", u"IDEX", true);
    ASSERT_TRUE(decision.request);
    const TransferRequest& r = *decision.request;
    EXPECT_EQ(r.kind, TransferRequest::JobUpload);
    EXPECT_EQ(r.formatCode, u"1");
    EXPECT_EQ(r.itemName, u"3");
    EXPECT_EQ(r.pcPath, u"/pc/a.gsi");
    EXPECT_EQ(r.jobLabel, u"SITE03");
    EXPECT_EQ(r.echoName, u"IN:SITE03,3,12,18,2024-06-02,07:48\r\n");
    EXPECT_EQ(r.lines, (std::vector<std::u16string>{u"A", u"", u"B"}));
    EXPECT_TRUE(decision.messages.empty());
    EXPECT_FALSE(decision.failed);
}

TEST(UploadPlan, JobWithoutANameBecomesTheConfirmedOne) {
    const auto decision = UploadPlan::Decide(Prepared(u"JOB", u"JobList:4 []"), u"/pc/a.gsi",
                                             Lines({u"A"}), u"NEWJOB", u"GSI", true);
    ASSERT_TRUE(decision.request);
    EXPECT_EQ(decision.request->kind, TransferRequest::JobUploadSelect);
    EXPECT_EQ(decision.request->formatCode, u"0");
    EXPECT_EQ(decision.request->jobLabel, u"NEWJOB");
    EXPECT_EQ(decision.request->echoName, u"NEWJOB,4,0,0");
    // A typed data type goes to the instrument as it stands.
    EXPECT_EQ(UploadPlan::FormatCodeOf(u"7"), u"7");
}

TEST(UploadPlan, CodeAndAlignmentTargetsAreNamedByTheirStoredLine) {
    for (const auto& [category, label, kind, echo, format] :
         {std::tuple{u"COD", u"CodeBook:1", 10, u"TOPO", u"1"},
          std::tuple{u"HAL", u"HalList:2", 11, u"RAMPA", u"2"},
          std::tuple{u"VAL", u"ValList:1", 12, u"MAINST", u"1"}}) {
        const auto decision = UploadPlan::Decide(Prepared(category, label), u"/pc/x", Lines({u"L"}),
                                                 u"typed", u"", true);
        ASSERT_TRUE(decision.request);
        EXPECT_EQ(decision.request->kind, kind);
        EXPECT_EQ(decision.request->echoName, echo);
        EXPECT_EQ(decision.request->formatCode, format);
        EXPECT_TRUE(decision.request->jobLabel.empty());
        EXPECT_TRUE(decision.request->itemName.empty());
    }
}

TEST(UploadPlan, FailuresAndTheirMessages) {
    const auto code = Prepared(u"COD", u"CodeBook:1");
    // An empty file still starts, and says so.
    const auto empty = UploadPlan::Decide(code, u"/pc/x", Lines({}), u"", u"", true);
    ASSERT_TRUE(empty.request);
    EXPECT_TRUE(empty.request->lines.empty());
    EXPECT_EQ(empty.messages, std::vector<std::u16string>{u"File size Null"});

    UploadFile unreadable;
    const auto open = UploadPlan::Decide(code, u"/pc/x", unreadable, u"", u"", true);
    EXPECT_FALSE(open.request);
    EXPECT_TRUE(open.failed);
    EXPECT_EQ(open.messages, std::vector<std::u16string>{u"Pc File Open Error!"});

    UploadFile tooLong;
    tooLong.status = UploadFile::Status::LineTooLong;
    tooLong.error = "Line 7 of \"/pc/\xc3\xa9.txt\" is longer than 510 bytes";
    const auto longLine = UploadPlan::Decide(code, u"/pc/x", tooLong, u"", u"", true);
    EXPECT_FALSE(longLine.request);
    EXPECT_TRUE(longLine.failed);
    EXPECT_EQ(longLine.messages, std::vector<std::u16string>{
                                     u"Line 7 of \"/pc/\u00e9.txt\" is longer than 510 bytes"});

    const auto closed = UploadPlan::Decide(code, u"/pc/x", Lines({u"L"}), u"", u"", false);
    EXPECT_FALSE(closed.request);
    EXPECT_FALSE(closed.failed);
    EXPECT_EQ(closed.messages.front(), UploadPlan::kNotConnected);
}

TEST(UploadPlan, StoredLinesWithoutTheFieldsReadAreRefusedBeforeTheFile) {
    UploadFile unreadable;
    for (const auto& dialog : {Prepared(u"JOB", u"JobList:9 []"), Prepared(u"JOB", u"missing"),
                               Prepared(u"COD", u"missing")}) {
        const auto decision = UploadPlan::Decide(dialog, u"/pc/x", unreadable, u"N", u"GSI", true);
        EXPECT_FALSE(decision.request);
        EXPECT_FALSE(decision.failed);
        EXPECT_EQ(decision.messages,
                  std::vector<std::u16string>{u"An invalid argument was encountered."});
    }
}
