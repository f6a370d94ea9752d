#pragma once

#include <chrono>
#include <fstream>
#include <string>
#include <string_view>

// The --log file: every burst of bytes in both directions, with the time
// since the start in milliseconds and control bytes written as escapes
// (those of the PC's traffic log, so --replay reads either).
class Transcript {
public:
    explicit Transcript(const std::string& path);
    bool IsOpen() const { return out_.is_open(); }

    void Received(std::string_view bytes) { Record("PC->X4", bytes); }
    void Sent(std::string_view bytes) { Record("X4->PC", bytes); }
    void Note(std::string_view text);

private:
    void Record(std::string_view direction, std::string_view bytes);

    std::ofstream out_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
