#pragma once

#include "transfer/TransferMeter.h"

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace stationlinkcli {

// The progress of a transfer on standard error while it is a terminal: one
// line redrawn in place a few times a second,
// "[#########...........]  12/36 lines  33%  1.1 kB/s  0:05 left",
// ended with a line feed. Not shown at all when switched off (not a
// terminal, --quiet).
class ProgressBar {
public:
    static constexpr int kWidth = 20;
    static constexpr std::chrono::milliseconds kRedraw{250};

    ProgressBar(std::ostream& out, bool shown, std::size_t totalLines);

    void Update(std::size_t lines, std::size_t total, std::uint64_t bytes);
    // The last state, and the line ended.
    void Finish();

    static std::string Text(const TransferMeter& meter);

private:
    void Draw();

    std::ostream& out_;
    const bool shown_;
    TransferMeter meter_;
    TransferMeter::Clock::time_point drawn_{};
    bool drew_ = false;
};

} // namespace stationlinkcli
