#include "ProgressBar.h"

#include <algorithm>

namespace stationlinkcli {

ProgressBar::ProgressBar(std::ostream& out, bool shown, std::size_t totalLines)
    : out_(out), shown_(shown), meter_(totalLines, TransferMeter::Clock::now()) {}

std::string ProgressBar::Text(const TransferMeter& meter) {
    const int filled = meter.Percent() * kWidth / 100;
    std::string text = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kWidth - filled), '.') + "]  " +
                       std::to_string(meter.Lines()) + "/" + std::to_string(meter.Total()) +
                       " lines  " + std::to_string(meter.Percent()) + "%  " +
                       TransferMeter::FormatBytes(meter.BytesPerSecond()) + "/s";
    if (const auto left = meter.TimeLeft()) {
        text += "  " + TransferMeter::FormatDuration(*left) + " left";
    }
    return text;
}

void ProgressBar::Update(std::size_t lines, std::size_t total, std::uint64_t bytes) {
    const auto now = TransferMeter::Clock::now();
    meter_.SetTotal(total);
    meter_.Sample(now, lines, bytes);
    if (shown_ && now - drawn_ >= kRedraw) {
        drawn_ = now;
        Draw();
    }
}

void ProgressBar::Finish() {
    if (shown_ && drew_) {
        Draw();
        out_ << "\n" << std::flush;
    }
}

// Padded, so a shorter line covers what a longer one left.
void ProgressBar::Draw() {
    std::string text = Text(meter_);
    text.resize(std::max<std::size_t>(text.size(), 72), ' ');
    out_ << "\r" << text << std::flush;
    drew_ = true;
}

} // namespace stationlinkcli
