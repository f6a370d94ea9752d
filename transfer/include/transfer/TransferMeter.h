#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

// How far a transfer has come, how fast it goes and how long it will take,
// from the lines and bytes done, sampled as it runs. The speed is taken over
// the last few seconds, so a pause or a change of pace shows soon; the time
// left follows from the lines still to come at that speed.
class TransferMeter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kWindow{3};

    TransferMeter(std::size_t totalLines, Clock::time_point start);

    void Sample(Clock::time_point now, std::size_t lines, std::uint64_t bytes);

    std::size_t Lines() const { return samples_.back().lines; }
    std::uint64_t Bytes() const { return samples_.back().bytes; }
    std::size_t Total() const { return total_; }
    // The instrument announced the transfer's own count.
    void SetTotal(std::size_t total) { total_ = total; }
    // 0 to 100; the lines may run past a total the instrument's list gave.
    int Percent() const;
    double BytesPerSecond() const;
    double LinesPerSecond() const;
    // None until a speed is known, or once the total is reached.
    std::optional<std::chrono::seconds> TimeLeft() const;

    // "12 of 36 lines, 4.3 kB, 1.1 kB/s, 0:05 left".
    std::string Summary() const;

    static std::string FormatBytes(double bytes);
    static std::string FormatDuration(std::chrono::seconds duration);

private:
    struct Point {
        Clock::time_point at;
        std::size_t lines;
        std::uint64_t bytes;
    };
    // The sample the speed is measured from: the newest one at least a
    // window older than the last, or the first.
    const Point& WindowStart() const;

    std::size_t total_;
    std::deque<Point> samples_;
};
