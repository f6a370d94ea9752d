#include "platform/TrafficLog.h"

#include <cerrno>
#include <cstring>

TrafficLog::TrafficLog(const std::string& path) : file_(std::fopen(path.c_str(), "wbe")) {
    if (file_ == nullptr) {
        error_ = "Cannot write the traffic log \"" + path + "\": " + std::strerror(errno) + ".";
    }
}

TrafficLog::~TrafficLog() {
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
    Write("PC->X4 \"" + Escaped(bytes) + "\"");
}

void TrafficLog::Received(std::string_view bytes) {
    Write("X4->PC \"" + Escaped(bytes) + "\"");
}

void TrafficLog::Note(std::string_view text) {
    Write("(" + std::string(text) + ")");
}

void TrafficLog::Write(std::string_view body) {
    if (file_ == nullptr) {
        return;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
            .count();
    std::lock_guard guard(mutex_);
    std::fprintf(file_, "%12.3f %.*s\n", ms, static_cast<int>(body.size()), body.data());
    std::fflush(file_);
}
