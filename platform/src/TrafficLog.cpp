#include "platform/TrafficLog.h"

#include <cerrno>
#include <cstring>

TrafficLog::TrafficLog(const std::string& path) : file_(std::fopen(path.c_str(), "wbe")) {
    if (file_ == nullptr) {
        error_ = "Cannot write the traffic log \"" + path + "\": " + std::strerror(errno) + ".";
        return;
    }
    writer_ = std::thread([this] { WriterMain(); });
}

TrafficLog::~TrafficLog() {
    if (writer_.joinable()) {
        {
            std::lock_guard guard(mutex_);
            closing_ = true;
        }
        wake_.notify_one();
        writer_.join();
    }
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::string TrafficLog::Escaped(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\' || c == '"') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        } else {
            text += c;
        }
    }
    return text;
}

void TrafficLog::Sent(std::string_view bytes) {
    Queue(Kind::Sent, bytes);
}

void TrafficLog::Received(std::string_view bytes) {
    Queue(Kind::Received, bytes);
}

void TrafficLog::Note(std::string_view text) {
    Queue(Kind::Note, text);
}

// The caller only stamps and queues the burst: the traffic goes on at the
// line's pace, the writer formats and writes behind it.
void TrafficLog::Queue(Kind kind, std::string_view bytes) {
    if (file_ == nullptr) {
        return;
    }
    {
        // Stamped under the lock, so the queue's order is the order of the
        // stamps even when the two directions log from different threads.
        std::lock_guard guard(mutex_);
        queued_.push_back({kind, std::chrono::steady_clock::now(), std::string(bytes)});
    }
    wake_.notify_one();
}

void TrafficLog::WriterMain() {
    std::vector<Entry> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || !queued_.empty(); });
        batch.swap(queued_);
        const bool closing = closing_;
        lock.unlock();
        for (const Entry& entry : batch) {
            Write(entry);
        }
        std::fflush(file_);
        batch.clear();
        lock.lock();
        if (closing && queued_.empty()) {
            return;
        }
    }
}

void TrafficLog::Write(const Entry& entry) {
    const double ms = std::chrono::duration<double, std::milli>(entry.at - start_).count();
    switch (entry.kind) {
    case Kind::Sent:
        std::fprintf(file_, "%12.3f PC->X4 \"%s\"\n", ms, Escaped(entry.bytes).c_str());
        break;
    case Kind::Received:
        std::fprintf(file_, "%12.3f X4->PC \"%s\"\n", ms, Escaped(entry.bytes).c_str());
        break;
    case Kind::Note:
        std::fprintf(file_, "%12.3f (%s)\n", ms, entry.bytes.c_str());
        break;
    }
}
