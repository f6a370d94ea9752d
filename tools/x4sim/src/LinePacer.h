#pragma once

#include <chrono>
#include <cstddef>

// The timing of a real serial line at a given baud rate, 10 bit times per
// byte, in both directions at once. Without a baud rate nothing is paced.
class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit LinePacer(long baud);

    bool Paced() const { return byteTime_.count() > 0; }
    // A reply starts: its first byte leaves when the transmitter is free, and
    // not before `notBefore`. An answer passes the time its command arrived,
    // so the simulator's own late wake-up is not added to the line's time.
    void StartBurst(Clock::time_point notBefore);
    // When the next `count` bytes of the current reply have left the wire.
    // Bytes of one reply follow each other without gaps, so a late wake-up
    // of the writer does not slow the rest of the reply down.
    Clock::time_point Send(std::size_t count);
    // When `count` bytes that the PC started sending now have all arrived.
    Clock::time_point Receive(std::size_t count);
    // About a millisecond of bytes (at least one): the size of paced writes.
    std::size_t SliceBytes() const { return sliceBytes_; }

private:
    std::chrono::nanoseconds byteTime_{0};
    std::size_t sliceBytes_ = 1;
    Clock::time_point sendFree_{};
    Clock::time_point receiveFree_{};
};
