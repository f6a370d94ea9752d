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
    // When `count` bytes handed to the transmitter now have left the wire.
    Clock::time_point Send(std::size_t count);
    // When `count` bytes that the PC started sending now have all arrived.
    Clock::time_point Receive(std::size_t count);
    // About a millisecond of bytes (at least one): the size of paced writes.
    std::size_t SliceBytes() const { return sliceBytes_; }

private:
    static Clock::time_point Advance(Clock::time_point& freeAt, std::chrono::nanoseconds span);

    std::chrono::nanoseconds byteTime_{0};
    std::size_t sliceBytes_ = 1;
    Clock::time_point sendFree_{};
    Clock::time_point receiveFree_{};
};
