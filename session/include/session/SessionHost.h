#pragma once

#include "session/LinkState.h"

#include "catalogue/TransferMonitor.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What a session tells the program that holds it. Calls come from whichever
// thread moved the session on (the link's worker or receive thread, or the
// thread that polls), with the session's lock held: a host hands them to its
// own thread and never calls back into the session from within one.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    // An operation has ended, the recovery it needed included; outcome is
    // the operation's own, not its recovery's.
    virtual void OnOperationEnded(const TransferMonitor::Outcome& outcome) = 0;
    // Lines done, the total shown (never below the lines done), bytes moved.
    virtual void OnProgress(std::size_t lines, std::size_t total, std::uint64_t bytes) = 0;
    virtual void OnLinkState(LinkState state) = 0;
    // A message of the link itself: a line lost while nothing ran. (An
    // operation that cannot start says why through its start.)
    virtual void OnLinkMessage(const std::string& text) = 0;

protected:
    SessionHost() = default;
    SessionHost(const SessionHost&) = default;
    SessionHost& operator=(const SessionHost&) = default;
};
