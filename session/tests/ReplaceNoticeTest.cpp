#include "session/ReplaceNotice.h"

#include <gtest/gtest.h>

TEST(ReplaceNotice, AsksOnlyWhenTheTargetHoldsData) {
    struct Case {
        int kind;
        std::u16string line;
        std::vector<std::u16string> lines;
        std::string notice; // empty: no question
    };
    const std::vector<std::u16string> gsi = {u"*410001+0000000000000SITE ", u"*110001+P1 81..",
                                             u"*110002+P2 81..", u""};
    const Case cases[] = {
        {TransferRequest::JobUpload, u"IN:BRIDGE,1,24,36,2024-06-02,07:48\r\n", gsi,
         "BRIDGE holds 24 fixed points; the upload replaces them with the 2 of site.gsi"},
        {TransferRequest::JobUpload, u"IN:ROAD7,2,0,18\r\n", gsi, ""},
        {TransferRequest::JobUploadSelect, u"", gsi, ""},
        {TransferRequest::CodeUpload,
         u"TOPO,1,12\r\n",
         {u"A", u"", u"B"},
         "TOPO holds 12 codes; the upload replaces them with the 2 of site.gsi"},
        {TransferRequest::HalUpload, u"MAINST,1,6", {u"x"}, ""},
        {TransferRequest::JobDownload, u"IN:BRIDGE,1,24,36\r\n", gsi, ""},
        {TransferRequest::JobUpload, u"IN:BAD", gsi, ""},
    };
    for (const Case& c : cases) {
        TransferRequest request;
        request.kind = c.kind;
        request.lines = c.lines;
        const auto notice = ReplaceNotice::ForUpload(c.line, request, "site.gsi");
        EXPECT_EQ(notice.value_or(""), c.notice) << c.kind;
    }
}
