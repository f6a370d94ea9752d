#include "catalogue/RequestKind.h"

#include "protocol/TransferRequest.h"

#include <set>

#include <gtest/gtest.h>

// Every category that takes requests has one kind per action, inside the
// action's range of kinds, no kind serves two places, and each kind leads
// back to its category.
TEST(RequestKind, EachCategoryHasItsOwnKindPerActionAndEachKindLeadsBack) {
    struct Range {
        RequestAction action;
        int first, last;
    };
    const Range ranges[] = {
        {RequestAction::Download, TransferRequest::JobDownload, TransferRequest::ValDownload},
        {RequestAction::Erase, TransferRequest::JobErase, TransferRequest::ValErase},
        {RequestAction::Upload, TransferRequest::JobUpload, TransferRequest::ValUpload},
    };
    std::set<int> seen;
    for (const EntryKind category : kCategories) {
        for (const Range& range : ranges) {
            const auto kind = RequestKindOf(category, range.action);
            if (category == EntryKind::Format) {
                EXPECT_FALSE(kind);
                continue;
            }
            ASSERT_TRUE(kind) << static_cast<int>(category);
            EXPECT_GE(*kind, range.first);
            EXPECT_LE(*kind, range.last);
            EXPECT_TRUE(seen.insert(*kind).second) << *kind;
            EXPECT_EQ(CategoryOfRequest(*kind), category) << *kind;
            EXPECT_EQ(ActionOfRequest(*kind), range.action) << *kind;
        }
    }
    EXPECT_EQ(RequestKindOf(EntryKind::Job, RequestAction::Erase), TransferRequest::JobErase);
    EXPECT_EQ(CategoryOfRequest(TransferRequest::JobUploadSelect), EntryKind::Job);
    EXPECT_EQ(ActionOfRequest(TransferRequest::JobUploadSelect), RequestAction::Upload);
    for (const int kind : {static_cast<int>(TransferRequest::Empty), 13, -7}) {
        EXPECT_FALSE(CategoryOfRequest(kind)) << kind;
        EXPECT_FALSE(ActionOfRequest(kind)) << kind;
    }
}
