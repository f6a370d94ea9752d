#include "Transcript.h"

#include <cstdio>

Transcript::Transcript(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {}

std::string Transcript::Escaped(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\' || c == '"') {
            text += std::string("\\") + c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

void Transcript::Record(std::string_view direction, std::string_view bytes) {
    if (!out_.is_open()) {
        return;
    }
    Note(std::string(direction) + " \"" + Escaped(bytes) + "\"");
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
