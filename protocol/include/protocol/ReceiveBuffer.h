#pragma once

#include <vector>

// Bytes received from the instrument and not yet consumed, in a store of
// fixed size that is never written past its end. It holds one line of
// kMaxLine bytes with its CR LF: the instrument sends one line per request.
//
// Two situations make it drop bytes on purpose:
// - line skipping: after a reply has been consumed before its CR LF arrived,
//   the rest of that line (through its CR LF) is dropped when it comes, so it
//   never stands in front of the next reply;
// - overrun: bytes that do not fit are dropped; the buffer then holds the
//   first kCapacity bytes of an over-long line, drops the rest of that line
//   through its CR LF, and takes nothing more until it is cleared.
class ReceiveBuffer {
public:
    static constexpr int kMaxLine = 64 * 1024;
    static constexpr int kCapacity = kMaxLine + 2;

    ReceiveBuffer();

    void Append(const char* data, int length);
    // Removes the first count bytes; the bytes behind them move to the front.
    void Consume(int count);
    // Empties the buffer and forgets an overrun; line skipping goes on.
    void Clear();
    // Empties the buffer and forgets both an overrun and line skipping.
    void Reset();

    // Drop the rest of the current line when it arrives. lastByte is the last
    // byte already consumed from it (a CR there means only LF is missing).
    // While a line is already being skipped this changes nothing.
    void SkipRestOfLine(char lastByte);

    const char* Data() const { return bytes_.data(); }
    int Length() const { return length_; }
    bool Empty() const { return length_ == 0; }
    bool Overrun() const { return overrun_; }
    bool SkippingLine() const { return skipping_; }

private:
    // Drops bytes through the next CR LF; returns how many it took.
    int SkipThroughLineEnd(const char* data, int length);

    std::vector<char> bytes_;
    int length_ = 0;
    bool overrun_ = false;
    bool skipping_ = false;
    bool sawCR_ = false;
};
