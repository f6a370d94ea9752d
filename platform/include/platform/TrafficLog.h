#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

// The traffic log of a serial line: every burst of bytes sent and received,
// one line each, as the milliseconds since the log began, the direction
// ("PC->X4" sent, "X4->PC" received) and the bytes in double quotes, with
// CR, LF, the quote and the backslash escaped and every other control or
// high byte written as \xNN, so the file reads in any editor. x4sim's --log
// writes the same format, so both sides of a session can be laid side by
// side. Each line is handed to the file system as it is written.
//
// May be written from any thread.
class TrafficLog {
public:
    explicit TrafficLog(const std::string& path);
    ~TrafficLog();
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // Why the file could not be opened.
    const std::string& Error() const { return error_; }

    void Sent(std::string_view bytes);
    void Received(std::string_view bytes);
    // A remark of the program's own, in parentheses.
    void Note(std::string_view text);

    static std::string Escaped(std::string_view bytes);

private:
    void Write(std::string_view body);

    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    std::string error_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
