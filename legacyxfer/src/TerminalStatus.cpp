#include "legacyxfer/TerminalStatus.h"

#include <algorithm>

namespace {

constexpr int kBarWidth = 20;

} // namespace

void TerminalStatus::Show(const std::string& text, bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!shown_ || (!force && drew_ && now - drawn_ < kRedraw)) {
        return;
    }
    // Blanks over the rest of a longer earlier text.
    out_ << "\r" << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ')
         << std::flush;
    width_ = text.size();
    drawn_ = now;
    drew_ = true;
}

void TerminalStatus::End() {
    if (shown_ && drew_) {
        out_ << "\n" << std::flush;
        drew_ = false;
    }
}

std::string TerminalStatus::Bar(std::uint64_t done, std::uint64_t total) {
    const std::uint64_t percent =
        total == 0 ? 100 : std::min<std::uint64_t>(100, done * 100 / total);
    const auto filled = static_cast<std::size_t>(percent * kBarWidth / 100);
    return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
           std::to_string(percent) + "%";
}
