#include "Transcript.h"

#include "platform/TrafficLog.h"

#include <cstdio>

Transcript::Transcript(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {}

void Transcript::Record(std::string_view direction, std::string_view bytes) {
    if (!out_.is_open()) {
        return;
    }
    Note(std::string(direction) + " \"" + TrafficLog::Escaped(bytes) + "\"");
}

void Transcript::Note(std::string_view text) {
    if (!out_.is_open()) {
        return;
    }
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%12.3f ", elapsed.count());
    out_ << stamp << text << '\n';
    out_.flush();
}
