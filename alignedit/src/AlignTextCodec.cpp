#include "alignedit/AlignTextCodec.h"

#include <algorithm>
#include <cstdio>

namespace {
// Characters the text widget turns into line breaks or frame marks; a code
// page that yields them could not give the same bytes back.
bool WidgetAltersCharacter(char16_t c) {
    return c == u'\u2029' || c == u'\uFDD0' || c == u'\uFDD1' || c == u'\r' ||
           c == AlignTextCodec::kStrayCr || c == AlignTextCodec::kStrayLf;
}

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}
} // namespace

LineEnd AlignTextCodec::DetectLineEnd(std::string_view bytes) {
    if (bytes.find("\r\n") == std::string_view::npos &&
        bytes.find('\n') != std::string_view::npos) {
        return LineEnd::Lf;
    }
    return LineEnd::CrLf;
}

std::u16string AlignTextCodec::DecodeRun(std::string_view run) const {
    std::u16string text = codePage_.ToWide(run);
    if (std::any_of(text.begin(), text.end(), WidgetAltersCharacter)) {
        // Marks the run as one that cannot come back unchanged.
        text.push_back(u'\uFFFF');
    }
    return text;
}

AlignTextCodec::Decoded AlignTextCodec::Decode(std::string_view bytes) const {
    Decoded result;
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        result.error =
            "it holds a NUL byte at offset " + std::to_string(nul) + ", so it is not a text file";
        return result;
    }
    result.lineEnd = DetectLineEnd(bytes);
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t stop = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        result.text += DecodeRun(bytes.substr(start, stop - start));
        if (stop == bytes.size()) {
            break;
        }
        const bool crLf = bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n';
        if (crLf && result.lineEnd == LineEnd::CrLf) {
            result.text += u'\n';
            start = stop + 2;
            continue;
        }
        const bool lineEnd = bytes[stop] == '\n' && result.lineEnd == LineEnd::Lf;
        result.text += lineEnd ? u'\n' : (bytes[stop] == '\r' ? kStrayCr : kStrayLf);
        start = stop + 1;
    }
    const Encoded back = Encode(result.text, result.lineEnd);
    if (!back.ok || back.bytes != bytes) {
        result.error = "its bytes cannot be shown in the code page " + codePage_.Name() +
                       " without changing them";
        result.text.clear();
        return result;
    }
    result.ok = true;
    return result;
}

bool AlignTextCodec::EncodeRun(std::u16string_view run, std::string& out) const {
    const std::string bytes = codePage_.ToAnsi(run);
    if (codePage_.ToWide(bytes) != run) {
        return false;
    }
    out += bytes;
    return true;
}

AlignTextCodec::Encoded AlignTextCodec::Encode(std::u16string_view text, LineEnd lineEnd) const {
    Encoded result;
    const std::string_view lineBreak = lineEnd == LineEnd::CrLf ? "\r\n" : "\n";
    std::size_t line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char16_t c = i < text.size() ? text[i] : u'\n';
        if (c != u'\n' && c != kStrayCr && c != kStrayLf) {
            continue;
        }
        const std::u16string_view run = text.substr(start, i - start);
        if (!EncodeRun(run, result.bytes)) {
            const auto bad = std::find_if(run.begin(), run.end(), [this](char16_t unit) {
                std::string ignored;
                return !EncodeRun(std::u16string_view(&unit, 1), ignored);
            });
            const unsigned code = bad != run.end() ? *bad : 0xFFFD;
            result.error = "the character U+" + Hex(code, 4) + " in line " + std::to_string(line) +
                           " has no byte in the code page " + codePage_.Name();
            result.bytes.clear();
            return result;
        }
        if (i < text.size()) {
            result.bytes += c == u'\n' ? lineBreak : (c == kStrayCr ? "\r" : "\n");
            line += c == u'\n' ? 1 : 0;
        }
        start = i + 1;
    }
    result.ok = true;
    return result;
}
