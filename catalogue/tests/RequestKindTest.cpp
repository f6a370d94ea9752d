#include "catalogue/RequestKind.h"

#include "protocol/TransferRequest.h"

#include <gtest/gtest.h>

TEST(RequestKind, EachCategoryHasOneKindPerActionAndEachKindItsCategory) {
    struct Case {
        EntryKind category;
        int download, erase, upload;
    };
    const Case cases[] = {
        {EntryKind::Job, TransferRequest::JobDownload, TransferRequest::JobErase,
         TransferRequest::JobUpload},
        {EntryKind::Code, TransferRequest::CodeDownload, TransferRequest::CodeErase,
         TransferRequest::CodeUpload},
        {EntryKind::Hal, TransferRequest::HalDownload, TransferRequest::HalErase,
         TransferRequest::HalUpload},
        {EntryKind::Val, TransferRequest::ValDownload, TransferRequest::ValErase,
         TransferRequest::ValUpload},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RequestKindOf(c.category, RequestAction::Download), c.download);
        EXPECT_EQ(RequestKindOf(c.category, RequestAction::Erase), c.erase);
        EXPECT_EQ(RequestKindOf(c.category, RequestAction::Upload), c.upload);
        for (const int kind : {c.download, c.erase, c.upload}) {
            EXPECT_EQ(CategoryOfRequest(kind), c.category) << kind;
        }
    }
    EXPECT_EQ(CategoryOfRequest(TransferRequest::JobUploadSelect), EntryKind::Job);
    for (const auto action :
         {RequestAction::Download, RequestAction::Erase, RequestAction::Upload}) {
        EXPECT_FALSE(RequestKindOf(EntryKind::Format, action));
        EXPECT_FALSE(RequestKindOf(EntryKind::Device, action));
    }
    for (const int kind : {static_cast<int>(TransferRequest::Empty), 13, -7}) {
        EXPECT_FALSE(CategoryOfRequest(kind)) << kind;
    }
}
