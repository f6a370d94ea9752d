#include "protocol/ReplyMatcher.h"

#include "platform/CQelComToolse.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kTaggedMarker = "[KESTARES]";
constexpr std::size_t kTagLength = 6;

int LineEndPos(const char* data, int length) {
    return CQelComToolse::ReturnEndFlagPos(data, length, "\r\n");
}

bool Begins(const ReceiveBuffer& rx, std::string_view compared) {
    return compared.size() <= static_cast<std::size_t>(rx.Length()) &&
           std::memcmp(rx.Data(), compared.data(), compared.size()) == 0;
}

bool Starts(const ReceiveBuffer& rx, char second) {
    return rx.Length() >= 2 && rx.Data()[0] == '@' && rx.Data()[1] == second;
}

} // namespace

ReplyMatcher::ReplyMatcher() {
    line_.reserve(ReceiveBuffer::kCapacity);
}

bool ReplyMatcher::IsTagged(std::string_view reply) {
    return reply.starts_with(kTaggedMarker);
}

void ReplyMatcher::Reset() {
    pendingTail_ = 0;
    line_.clear();
    tagLength_ = 0;
}

void ReplyMatcher::DropStaleLines(ReceiveBuffer& rx, std::string_view compared) {
    while (!Begins(rx, compared)) {
        const int p = LineEndPos(rx.Data(), rx.Length());
        if (p < -1) {
            return;
        }
        rx.Consume(p + 3);
    }
}

ReplyMatcher::Decision ReplyMatcher::Decide(ReceiveBuffer& rx, const Awaited& awaited,
                                            bool staleLinesFirst) {
    if (staleLinesFirst) {
        DropStaleLines(rx, awaited.compared);
    }
    Decision d;
    const int length = rx.Length();
    const bool matched = Begins(rx, awaited.compared);
    const bool warning = Starts(rx, 'W');
    // An error reply is never what a step awaits: the instrument has refused
    // the command, and sending it again brings the same refusal.
    const bool error = Starts(rx, 'E');
    const bool tagged = IsTagged(awaited.reply);
    if (matched && awaited.reply.size() > awaited.compared.size()) {
        pendingTail_ = static_cast<int>(awaited.reply.size() - awaited.compared.size());
    }

    if (warning) {
        d.verdict = Verdict::Resend;
        ConsumeReply(rx, length);
    } else if (error) {
        if (const int p = LineEndPos(rx.Data(), length); p >= -1) {
            line_.assign(rx.Data(), static_cast<std::size_t>(p + 1));
            rx.Clear();
            d.verdict = Verdict::Refused;
        }
    } else if (pendingTail_ != 0 && !tagged) {
        // A reply compared on fewer characters than it has: move on only
        // once its line end is in.
        if (LineEndPos(rx.Data(), length) >= -1) {
            rx.Clear();
            pendingTail_ = 0;
            d.verdict = Verdict::Advance;
        }
    } else if (matched) {
        d.verdict = Verdict::Matched;
        d.consumed = length;
    } else if (tagged) {
        return DecideTaggedLine(rx, awaited);
    }
    return d;
}

ReplyMatcher::Decision ReplyMatcher::DecideTaggedLine(ReceiveBuffer& rx, const Awaited& awaited) {
    Decision d;
    if (rx.Overrun()) {
        if (!rx.SkippingLine()) {
            rx.Clear();
            d.verdict = Verdict::Overrun;
        }
        return d;
    }
    const int p = LineEndPos(rx.Data(), rx.Length());
    if (p < -1) {
        return d;
    }
    line_.assign(rx.Data(), static_cast<std::size_t>(p + 3));
    const std::string_view tag = awaited.reply.substr(kTaggedMarker.size(), kTagLength);
    tagLength_ = tag.copy(tag_.data(), tag_.size());
    // Bytes behind the line go with it: the instrument sends one line per poll.
    rx.Clear();
    d.verdict = Verdict::Line;
    return d;
}

void ReplyMatcher::ConsumeReply(ReceiveBuffer& rx, int count) {
    const bool lineComplete = LineEndPos(rx.Data(), count) >= -1;
    const char last = count > 0 ? rx.Data()[count - 1] : '\0';
    rx.Consume(count);
    if (!lineComplete) {
        // The reply's line end is still on its way: it must not stand in
        // front of the next reply.
        rx.SkipRestOfLine(last);
    }
}
