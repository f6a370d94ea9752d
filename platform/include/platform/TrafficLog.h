#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// The traffic log of a serial line: every burst of bytes sent and received,
// one line each, as the milliseconds since the log began, the direction
// ("PC->X4" sent, "X4->PC" received) and the bytes in double quotes, with
// CR, LF, the quote and the backslash escaped and every other control or
// high byte written as \xNN, so the file reads in any editor. x4sim's --log
// writes the same format, so both sides of a session can be laid side by
// side. The bursts are stamped and queued where they happen, in the order
// they are given; a writer thread of the log's own writes them and hands
// them to the file system as they come, so logging does not slow the line.
//
// May be written from any thread.
class TrafficLog {
public:
    explicit TrafficLog(const std::string& path);
    // Writes what is still queued.
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
    enum class Kind { Sent, Received, Note };
    struct Entry {
        Kind kind;
        std::chrono::steady_clock::time_point at;
        std::string bytes;
    };
    void Queue(Kind kind, std::string_view bytes);
    void WriterMain();
    void Write(const Entry& entry);

    std::FILE* file_ = nullptr;
    std::string error_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Entry> queued_;
    bool closing_ = false;
    std::thread writer_;
};
