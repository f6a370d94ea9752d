#include "session/RecoveryPolicy.h"

#include <gtest/gtest.h>

TEST(RecoveryPolicy, OneRecoveryPerOperationAndEnding) {
    using Op = TransferMonitor::Operation;
    using Ending = TransferMonitor::Ending;
    using R = RecoveryPolicy::Recovery;
    struct Case {
        Op operation;
        Ending ending;
        bool open;
        R recovery;
    };
    const Case cases[] = {
        {Op::Download, Ending::Done, true, R::None},
        {Op::Download, Ending::NoData, true, R::None},
        {Op::Download, Ending::Silent, true, R::None},
        {Op::Download, Ending::Stopped, true, R::Abort},
        {Op::Download, Ending::Overlong, true, R::Abort},
        {Op::Download, Ending::FileFailed, true, R::Abort},
        {Op::Download, Ending::Refused, true, R::Abort},
        {Op::Download, Ending::LineLost, true, R::Close},
        {Op::Upload, Ending::Stopped, true, R::Relist},
        {Op::Upload, Ending::Refused, true, R::Relist},
        {Op::Erase, Ending::Refused, true, R::Relist},
        {Op::Erase, Ending::Done, true, R::None},
        {Op::Connect, Ending::Done, true, R::None},
        {Op::Connect, Ending::Stopped, true, R::None},
        {Op::Connect, Ending::Refused, true, R::Close},
        {Op::Connect, Ending::Silent, true, R::Close},
        {Op::Abort, Ending::Silent, true, R::None},
        // The user closed the port meanwhile: nothing to recover on.
        {Op::Download, Ending::Stopped, false, R::None},
    };
    for (const Case& c : cases) {
        TransferMonitor::Outcome outcome;
        outcome.operation = c.operation;
        outcome.ending = c.ending;
        EXPECT_EQ(RecoveryPolicy::After(outcome, c.open), c.recovery)
            << static_cast<int>(c.operation) << "/" << static_cast<int>(c.ending);
    }
}
