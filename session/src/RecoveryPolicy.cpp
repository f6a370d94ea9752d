#include "session/RecoveryPolicy.h"

RecoveryPolicy::Recovery RecoveryPolicy::After(const TransferMonitor::Outcome& outcome,
                                               bool portOpen) {
    using Ending = TransferMonitor::Ending;
    using Operation = TransferMonitor::Operation;
    if (!portOpen || outcome.operation == Operation::Abort ||
        outcome.operation == Operation::None) {
        return Recovery::None;
    }
    if (outcome.ending == Ending::LineLost) {
        return Recovery::Close;
    }
    if (outcome.operation == Operation::Connect) {
        return outcome.ending == Ending::Done || outcome.ending == Ending::Stopped
                   ? Recovery::None
                   : Recovery::Close;
    }
    switch (outcome.ending) {
    case Ending::Stopped:
    case Ending::Overlong:
    case Ending::FileFailed:
    case Ending::Refused:
        return outcome.operation == Operation::Download ? Recovery::Abort : Recovery::Relist;
    case Ending::Done:
    case Ending::NoData:
    case Ending::Silent:
    case Ending::LineLost:
        break;
    }
    return Recovery::None;
}
