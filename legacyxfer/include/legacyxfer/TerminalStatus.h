#pragma once

#include <chrono>
#include <ostream>
#include <string>

// One status line on standard error while it is a terminal, redrawn in
// place a few times a second and ended with a line feed; nothing at all
// when switched off (not a terminal, --quiet).
class TerminalStatus {
public:
    static constexpr std::chrono::milliseconds kRedraw{250};

    TerminalStatus(std::ostream& out, bool shown) : out_(out), shown_(shown) {}

    // force: draw now whatever the time (the last state).
    void Show(const std::string& text, bool force = false);
    void End();

    // "[#######.............]  37%" for done of total.
    static std::string Bar(std::uint64_t done, std::uint64_t total);

private:
    std::ostream& out_;
    const bool shown_;
    std::chrono::steady_clock::time_point drawn_{};
    std::size_t width_ = 0;
    bool drew_ = false;
};
