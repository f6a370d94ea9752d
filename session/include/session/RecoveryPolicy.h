#pragma once

#include "catalogue/TransferMonitor.h"

// What follows the end of an operation, for the window and the command line
// alike. An operation cut off on a port that stays open may have left the
// instrument in the middle of it: a download is ended with the abort
// commands; a cut-off upload or erase may have changed a list half-way, so
// every list is read again (which begins with the same commands). A lost
// line, or a connect that did not read its lists, leaves nothing to talk to:
// the port is closed.
class RecoveryPolicy {
public:
    enum class Recovery { None, Abort, Relist, Close };

    // portOpen: the port is still open (not closed by the user meanwhile).
    static Recovery After(const TransferMonitor::Outcome& outcome, bool portOpen);
};
