#include "catalogue/DownloadPlan.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::u16string> kFormats = {u"GSI,0,GSI-16 blocks\r\n", u"IDEX,1,IDEX\r\n"};
const std::u16string kJob = u"ABCSITE1,7,12,30\r\n";

DownloadPlan::Decision Job(std::u16string dataType, std::u16string fileType,
                           std::u16string name = u"SITE1") {
    return DownloadPlan::Decide(TransferRequest::JobDownload, kJob, u"/data/",
                                {std::move(name), std::move(dataType), std::move(fileType)});
}

} // namespace

TEST(DownloadPlan, EachCategoryHasItsModeNameAndChoices) {
    const auto job = DownloadPlan::Prepare(u"JOB", kJob, kFormats);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->mode, TransferRequest::JobDownload);
    EXPECT_EQ(job->fileName, u"ABCSITE1");
    ASSERT_EQ(job->dataTypeChoices.size(), 3U);
    EXPECT_EQ(job->dataTypeChoices.back(), u"CASS,2");
    const auto code = DownloadPlan::Prepare(u"COD", u"TOPO,1,12\r\n", kFormats);
    ASSERT_TRUE(code);
    EXPECT_EQ(code->mode, TransferRequest::CodeDownload);
    EXPECT_EQ(code->fileName, u"TOPO.crf");
    EXPECT_EQ(code->dataTypeChoices, kFormats);
    EXPECT_EQ(DownloadPlan::Prepare(u"HAL", u",1,6\r\n", kFormats)->fileName, u"default.hal");
    EXPECT_EQ(DownloadPlan::Prepare(u"VAL", u"RAMPA,2,3\r\n", kFormats)->mode,
              TransferRequest::ValDownload);
    EXPECT_EQ(DownloadPlan::Prepare(u"JOB", u"", kFormats)->fileName, u"default");
    // A job's offered name drops the storage prefix; three characters leave none.
    EXPECT_EQ(DownloadPlan::OfferedName(*job), u"SITE1");
    EXPECT_EQ(DownloadPlan::OfferedName(*DownloadPlan::Prepare(u"JOB", u"ABC,1,2,3", {})), u"");
    EXPECT_EQ(DownloadPlan::OfferedName(*code), u"TOPO.crf");
    EXPECT_FALSE(DownloadPlan::Prepare(u"FOR", u"GSI,0\r\n", kFormats));
    EXPECT_FALSE(DownloadPlan::Prepare(u"job", kJob, kFormats));
}

TEST(DownloadPlan, JobRequestFollowsDataTypeAndPart) {
    const auto gsi = Job(u"GSI", u"COORDS");
    ASSERT_TRUE(gsi.request);
    EXPECT_EQ(gsi.request->kind, TransferRequest::JobDownload);
    EXPECT_EQ(gsi.request->itemName, u"7");
    EXPECT_EQ(gsi.request->partCode, u"COORDS");
    EXPECT_EQ(gsi.request->formatCode, u"0");
    EXPECT_EQ(gsi.request->jobLabel, u"/data/SITE1.gsi");
    EXPECT_TRUE(gsi.request->pcFormat.empty());
    EXPECT_EQ(gsi.total, 12);

    const auto idex = Job(u"IDEX", u"OBSERV");
    EXPECT_EQ(idex.request->formatCode, u"1");
    EXPECT_EQ(idex.request->jobLabel, u"/data/SITE1.idex");
    EXPECT_EQ(idex.total, 30);

    const auto cass = Job(u"CASS", u"OBSERV");
    EXPECT_EQ(cass.request->formatCode, u"0");
    EXPECT_EQ(cass.request->pcFormat, u"CASS");
    EXPECT_EQ(cass.request->jobLabel, u"/data/SITE1.dat");

    // Another data type is the format number the instrument knows it by,
    // and still gets a file name.
    const auto ascii = Job(u"2", u"COORDS");
    EXPECT_EQ(ascii.request->formatCode, u"2");
    EXPECT_EQ(ascii.request->jobLabel, u"/data/SITE1.txt");

    // A typed part has no count to check.
    const auto typed = Job(u"GSI", u"BOTH");
    ASSERT_TRUE(typed.request);
    EXPECT_EQ(typed.total, 0);
}

TEST(DownloadPlan, NothingToReceiveOrNoNameStartsNothing) {
    const std::u16string empty = u"IN:ROAD7,2,48,0\r\n";
    const auto observ = DownloadPlan::Decide(0, empty, u"/d/", {u"R", u"GSI", u"OBSERV"});
    EXPECT_FALSE(observ.request);
    EXPECT_EQ(observ.refusal,
              u"Data NULL: ROAD7 holds no measurement points; nothing was downloaded.");
    EXPECT_TRUE(DownloadPlan::Decide(0, empty, u"/d/", {u"R", u"GSI", u"COORDS"}).request);
    EXPECT_EQ(
        DownloadPlan::Decide(2, u"MAINST,1,0\r\n", u"/d/", {u"M.hal", u"", u""}).refusal,
        u"Data NULL: the horizontal alignment MAINST holds no points; nothing was downloaded.");
    EXPECT_EQ(DownloadPlan::Decide(3, u"MAINST,1,x\r\n", u"/d/", {u"M.val", u"", u""}).refusal,
              u"Data NULL: the vertical alignment MAINST holds no points; nothing was downloaded.");

    const auto unnamed = Job(u"GSI", u"COORDS", u"");
    EXPECT_FALSE(unnamed.request);
    EXPECT_TRUE(unnamed.askAgain);
    EXPECT_EQ(unnamed.refusal, DownloadPlan::kNameNeeded);
}

TEST(DownloadPlan, ShortListLinesAreRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(DownloadPlan::Decide(0, u"SITE,7,12\r\n", u"/d/", {u"S", u"GSI", u"COORDS"}).refusal,
              DownloadPlan::kInvalidArgument);
    EXPECT_EQ(DownloadPlan::Decide(1, u"", u"/d/", {u"x.crf", u"GSI", u""}).refusal,
              DownloadPlan::kInvalidArgument);
    EXPECT_EQ(DownloadPlan::Decide(2, u"M,1\r\n", u"/d/", {u"x.hal", u"", u""}).refusal,
              DownloadPlan::kInvalidArgument);
}

TEST(DownloadPlan, CodeListsAndAlignmentsKeepTheConfirmedName) {
    const auto code = DownloadPlan::Decide(1, u"TOPO,1,12\r\n", u"/d/", {u"T.crf", u"IDEX", u""});
    ASSERT_TRUE(code.request);
    EXPECT_EQ(code.request->kind, TransferRequest::CodeDownload);
    EXPECT_EQ(code.request->formatCode, u"1");
    EXPECT_EQ(code.request->jobLabel, u"/d/T.crf");
    EXPECT_EQ(code.total, 100);
    const auto hal = DownloadPlan::Decide(2, u"MAINST,1,6\r\n", u"/d/", {u"M.hal", u"", u""});
    ASSERT_TRUE(hal.request);
    EXPECT_EQ(hal.request->kind, TransferRequest::HalDownload);
    EXPECT_TRUE(hal.request->formatCode.empty());
    EXPECT_EQ(hal.request->itemName, u"1");
    EXPECT_EQ(hal.request->jobLabel, u"/d/M.hal");
    EXPECT_EQ(hal.total, 6);
}

TEST(DownloadPlan, TypedFoldersGetTheirSeparatorAndJobPartsTheirNode) {
    EXPECT_EQ(DownloadPlan::FolderOf(u"/home/u/data"), u"/home/u/data/");
    EXPECT_EQ(DownloadPlan::FolderOf(u"/home/u/data/"), u"/home/u/data/");
    EXPECT_EQ(DownloadPlan::FolderOf(u""), u"/");
    EXPECT_EQ(DownloadPlan::JobPartOf(u"FixPoints:12"), 1);
    EXPECT_EQ(DownloadPlan::JobPartOf(u"MeasurementPoints:30"), 2);
    EXPECT_EQ(DownloadPlan::JobPartOf(u""), 2);
}

// Names from the instrument and typed names are file names in the chosen
// folder: separators, control characters and leading dots cannot lead out.
TEST(DownloadPlan, NamesAreFileNamesInTheChosenFolder) {
    struct Case {
        std::u16string category, line, typed, offered, path;
    };
    const Case cases[] = {
        {u"JOB", u"IN:../../escaped,7,12,30\r\n", u"", u"_.._.._escaped", u"/d/_.._.._escaped.gsi"},
        {u"JOB", u"IN:.hidden,7,12,30\r\n", u"", u"_.hidden", u"/d/_.hidden.gsi"},
        {u"JOB", u"IN:..,7,12,30\r\n", u"", u"_..", u"/d/_...gsi"},
        {u"COD", u"a/b\\c,1,12\r\n", u"", u"a_b_c.crf", u"/d/a_b_c.crf"},
        {u"HAL", std::u16string(u"R\x01\x1B\x7F\x81x,1,6\r\n"), u"", u"R____x.hal",
         u"/d/R____x.hal"},
        {u"VAL", u"..,2,3\r\n", u"", u"_...val", u"/d/_...val"},
        {u"VAL", u"RAMPA,2,3\r\n", u"../up.val", u"RAMPA.val", u"/d/_.._up.val"},
        {u"HAL", u"MAINST,1,6\r\n", u"/etc/x", u"MAINST.hal", u"/d/_etc_x"},
        {u"JOB", u"IN:SITE1,7,12,30\r\n", u".", u"SITE1", u"/d/_..gsi"},
    };
    for (const Case& c : cases) {
        const auto dialog = DownloadPlan::Prepare(c.category, c.line, kFormats);
        ASSERT_TRUE(dialog);
        const std::u16string offered = DownloadPlan::OfferedName(*dialog);
        EXPECT_EQ(offered, c.offered);
        const auto decision = DownloadPlan::Decide(
            dialog->mode, c.line, u"/d/", {c.typed.empty() ? offered : c.typed, u"GSI", u"COORDS"});
        ASSERT_TRUE(decision.request);
        EXPECT_EQ(decision.request->jobLabel, c.path);
    }
}
