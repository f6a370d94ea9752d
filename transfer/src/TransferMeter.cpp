#include "transfer/TransferMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

TransferMeter::TransferMeter(std::size_t totalLines, Clock::time_point start)
    : total_(totalLines), samples_{{start, 0, 0}} {}

void TransferMeter::Sample(Clock::time_point now, std::size_t lines, std::uint64_t bytes) {
    samples_.push_back({now, lines, bytes});
    // Keep one sample older than the window to measure from.
    while (samples_.size() > 2 && samples_[1].at <= now - kWindow) {
        samples_.pop_front();
    }
}

const TransferMeter::Point& TransferMeter::WindowStart() const {
    return samples_.front();
}

int TransferMeter::Percent() const {
    if (total_ == 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::size_t>(Lines(), total_) * 100 / total_);
}

double TransferMeter::BytesPerSecond() const {
    const Point& from = WindowStart();
    const double seconds = std::chrono::duration<double>(samples_.back().at - from.at).count();
    return seconds > 0 ? static_cast<double>(Bytes() - from.bytes) / seconds : 0.0;
}

double TransferMeter::LinesPerSecond() const {
    const Point& from = WindowStart();
    const double seconds = std::chrono::duration<double>(samples_.back().at - from.at).count();
    return seconds > 0 ? static_cast<double>(Lines() - from.lines) / seconds : 0.0;
}

std::optional<std::chrono::seconds> TransferMeter::TimeLeft() const {
    const double rate = LinesPerSecond();
    if (rate <= 0 || Lines() >= total_) {
        return std::nullopt;
    }
    return std::chrono::seconds(
        static_cast<long long>(std::ceil(static_cast<double>(total_ - Lines()) / rate)));
}

std::string TransferMeter::FormatBytes(double bytes) {
    static const char* const kUnits[] = {"B", "kB", "MB", "GB"};
    int unit = 0;
    while (bytes >= 1000 && unit < 3) {
        bytes /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
    return text;
}

std::string TransferMeter::FormatDuration(std::chrono::seconds duration) {
    const long long total = std::max<long long>(duration.count(), 0);
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

std::string TransferMeter::Summary() const {
    std::string text = std::to_string(Lines()) + " of " + std::to_string(total_) + " lines, " +
                       FormatBytes(static_cast<double>(Bytes())) + ", " +
                       FormatBytes(BytesPerSecond()) + "/s";
    if (const auto left = TimeLeft()) {
        text += ", " + FormatDuration(*left) + " left";
    }
    return text;
}
