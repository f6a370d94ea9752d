#pragma once

#include "protocol/ReceiveBuffer.h"

#include <array>
#include <string>
#include <string_view>

// Decides what the bytes received so far are, measured against the reply
// the current step awaits: the awaited reply, a data line under its tag, an
// "@W" warning, an "@E" error, an over-long line, or not enough yet. It
// consumes what it has decided on from the receive buffer and keeps the one
// thing that outlives a decision: the line end of a reply compared on fewer
// characters than it has. Plain data: the engine calls it under its lock.
class ReplyMatcher {
public:
    // The reply a step awaits: its whole text, and the bytes a received reply
    // must begin with (the catalogue compares some replies on fewer
    // characters than they have). A reply of "[KESTARES]" and a six-character
    // tag awaits one data line, handed over under that tag.
    struct Awaited {
        std::string_view reply;
        std::string_view compared;
    };

    enum class Verdict {
        Wait,    // not enough received yet
        Resend,  // an "@W" warning: the step goes out again
        Advance, // the reply's awaited line end came: on to the next step
        Matched, // the awaited reply; Consumed() bytes go once the next step is out
        Line,    // a data line (Line(), Tag())
        Overrun, // a line too long for the buffer was dropped
        Refused, // an "@E" error line (Line(), without its line end)
    };
    struct Decision {
        Verdict verdict = Verdict::Wait;
        // Matched: bytes to consume once the next step went out.
        int consumed = 0;
    };

    ReplyMatcher();

    // staleLinesFirst: whole lines that stand before the awaited reply are
    // dropped first (an abort awaits its answers behind lines the stopped
    // operation still sent).
    Decision Decide(ReceiveBuffer& rx, const Awaited& awaited, bool staleLinesFirst);
    // Consumes a matched reply; a line end still on its way is skipped when
    // it comes, so it never stands in front of the next reply.
    static void ConsumeReply(ReceiveBuffer& rx, int count);
    // A new operation awaits no line end of an earlier one.
    void Reset();

    // The line of the last Line or Refused decision, and a Line's tag.
    // Valid until the next Decide or Reset.
    std::string_view LineText() const { return line_; }
    std::string_view Tag() const { return {tag_.data(), tagLength_}; }

    static bool IsTagged(std::string_view reply);

private:
    Decision DecideTaggedLine(ReceiveBuffer& rx, const Awaited& awaited);
    static void DropStaleLines(ReceiveBuffer& rx, std::string_view compared);

    // Characters of a matched reply still to come before its line end.
    int pendingTail_ = 0;
    std::string line_;
    std::array<char, 6> tag_{};
    std::size_t tagLength_ = 0;
};
