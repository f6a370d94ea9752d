#include "catalogue/EraseFlow.h"

#include <gtest/gtest.h>

TEST(EraseFlow, CategoriesChooseTheMode) {
    EXPECT_EQ(EraseFlow::DialogMode(u"JOB"), TransferRequest::JobErase);
    EXPECT_EQ(EraseFlow::DialogMode(u"COD"), TransferRequest::CodeErase);
    EXPECT_EQ(EraseFlow::DialogMode(u"HAL"), TransferRequest::HalErase);
    EXPECT_EQ(EraseFlow::DialogMode(u"VAL"), TransferRequest::ValErase);
    EXPECT_FALSE(EraseFlow::DialogMode(u"FOR"));
    EXPECT_FALSE(EraseFlow::DialogMode(u"COM1"));
}

TEST(EraseFlow, JobPartWithoutPointsIsRefused) {
    const std::u16string line = u"SITE,7,12,0\r\n";
    EXPECT_EQ(EraseFlow::Decide(4, u"IN:SITE,7,12,0\r\n", u"OBSERV").refusal,
              u"Data NULL: SITE holds no measurement points; nothing was erased.");
    EXPECT_EQ(EraseFlow::Decide(4, u",7,x,5\r\n", u"COORDS").refusal,
              u"Data NULL: job 7 holds no fixed points; nothing was erased.");
    const auto coords = EraseFlow::Decide(4, line, u"COORDS");
    ASSERT_TRUE(coords.request);
    EXPECT_EQ(coords.request->kind, TransferRequest::JobErase);
    EXPECT_EQ(coords.request->itemName, u"7");
    EXPECT_EQ(coords.request->partCode, u"COORDS");
    // A typed part is passed on without a count test.
    EXPECT_TRUE(EraseFlow::Decide(4, u"SITE,7,0,0\r\n", u"OTHER").request);
}

TEST(EraseFlow, AlignmentsWithoutPointsAreRefusedCodeListsAreNot) {
    EXPECT_EQ(EraseFlow::Decide(6, u"MAINST,1,0\r\n", u"").refusal,
              u"Data Null: the horizontal alignment MAINST holds no points; nothing was erased.");
    EXPECT_EQ(EraseFlow::Decide(7, u"MAINST,1,0\r\n", u"").refusal,
              u"Data Null: the vertical alignment MAINST holds no points; nothing was erased.");
    const auto hal = EraseFlow::Decide(6, u"MAINST,1,6\r\n", u"");
    ASSERT_TRUE(hal.request);
    EXPECT_EQ(hal.request->kind, TransferRequest::HalErase);
    EXPECT_EQ(hal.request->itemName, u"1");
    EXPECT_TRUE(hal.request->partCode.empty());
    const auto code = EraseFlow::Decide(5, u"TOPO,1,0\r\n", u"");
    ASSERT_TRUE(code.request);
    EXPECT_EQ(code.request->itemName, u"1");
}

TEST(EraseFlow, LineWithoutTheItemAddressIsRefused) {
    EXPECT_EQ(EraseFlow::Decide(5, u"", u"").refusal, u"Del error");
    EXPECT_EQ(EraseFlow::Decide(4, u"SITE\r\n", u"COORDS").refusal, u"Del error");
    EXPECT_EQ(EraseFlow::Decide(8, u"A,1,2,3", u"COORDS").refusal, u"Del error");
}

// End messages name what went, not the list's label.
TEST(EraseFlow, DecisionNamesWhatIsErased) {
    struct Case {
        int mode;
        std::u16string_view line, part, subject;
    };
    const Case cases[] = {
        {4, u"IN:SITE03,3,12,18\r\n", u"OBSERV", u"the measurement points of SITE03"},
        {4, u"IN:SITE03,3,12,18\r\n", u"COORDS", u"the fixed points of SITE03"},
        {4, u",7,12,18\r\n", u"COORDS", u"the fixed points of job 7"},
        {4, u"IN:SITE03,3,12,18\r\n", u"OTHER", u"the OTHER part of SITE03"},
        {5, u"TOPO,1,0\r\n", u"", u"the code list TOPO"},
        {6, u"MAINST,1,6\r\n", u"", u"the horizontal alignment MAINST"},
        {7, u"MAINST,1,6\r\n", u"", u"the vertical alignment MAINST"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EraseFlow::Decide(c.mode, c.line, c.part).subject, c.subject);
    }
    EXPECT_EQ(EraseFlow::Subject(4, u"SITE", u"COORDS"), u"");
}
