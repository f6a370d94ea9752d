#include "legacyxfer/LinePreset.h"

#include "platform/ComPortName.h"
#include "platform/TermiosSettings.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr char kSeparator = '|';
constexpr std::size_t kFields = 9;

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t bar = line.find(kSeparator);
        fields.push_back(line.substr(0, bar));
        if (bar == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(bar + 1);
    }
}

template <typename Number>
bool Parse(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

std::string Hex(std::string_view bytes) {
    std::string out;
    for (const unsigned char byte : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        out += pair;
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        if (error != std::errc() || end != hex.data() + i + 2) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(value));
    }
    return out;
}

LinePreset Make(std::string name, long baud, int dataBits, int parity, LinePreset::Flow flow,
                std::string endMarker) {
    LinePreset preset;
    preset.name = std::move(name);
    preset.baud = baud;
    preset.dataBits = dataBits;
    preset.parity = parity;
    preset.flow = flow;
    preset.endMarker = std::move(endMarker);
    return preset;
}

} // namespace

CMiniDCB LinePreset::ToDcb(const std::string& port) const {
    CMiniDCB dcb;
    if (ComPortName::Number(port)) {
        dcb.portName = port;
    } else {
        dcb.deviceFile = port;
        dcb.portName = port;
    }
    dcb.baudRate = std::to_string(baud);
    dcb.dataBits = std::to_string(dataBits);
    dcb.parity = parity;
    dcb.stopBits = stopBits;
    dcb.flowControl = static_cast<int>(flow);
    dcb.markLineErrors = true;
    return dcb;
}

std::string_view LinePreset::LineEndBytes() const {
    switch (lineEnd) {
    case LineEnd::Cr:
        return "\r";
    case LineEnd::Lf:
        return "\n";
    case LineEnd::CrLf:
        break;
    }
    return "\r\n";
}

std::string LinePreset::ToText() const {
    char silence[32];
    std::snprintf(silence, sizeof silence, "%g", endSilence);
    const std::string bar(1, kSeparator);
    return name + bar + std::to_string(baud) + bar + std::to_string(dataBits) + bar +
           std::to_string(parity) + bar + std::to_string(stopBits) + bar +
           std::to_string(static_cast<int>(flow)) + bar +
           std::to_string(static_cast<int>(lineEnd)) + bar + Hex(endMarker) + bar + silence;
}

std::optional<LinePreset> LinePreset::FromText(std::string_view line) {
    const auto fields = Split(line);
    if (fields.size() != kFields || fields[0].empty()) {
        return std::nullopt;
    }
    LinePreset preset;
    preset.name = std::string(fields[0]);
    int flow = 0;
    int lineEnd = 0;
    const auto marker = FromHex(fields[7]);
    // from_chars for double is in libstdc++ 11+, which Debian 12 has.
    if (!Parse(fields[1], preset.baud) || !Parse(fields[2], preset.dataBits) ||
        !Parse(fields[3], preset.parity) || !Parse(fields[4], preset.stopBits) ||
        !Parse(fields[5], flow) || flow < 0 || flow > 2 || !Parse(fields[6], lineEnd) ||
        lineEnd < 0 || lineEnd > 2 || !marker || !Parse(fields[8], preset.endSilence)) {
        return std::nullopt;
    }
    preset.flow = static_cast<Flow>(flow);
    preset.lineEnd = static_cast<LineEnd>(lineEnd);
    preset.endMarker = *marker;
    if (!preset.Problem().empty()) {
        return std::nullopt;
    }
    return preset;
}

std::string LinePreset::Problem() const {
    if (name.empty() || name.find_first_of("|\r\n") != std::string::npos) {
        return "a preset needs a name without \"|\" or line ends";
    }
    if (!TermiosSettings::SpeedOf(baud)) {
        return "unsupported baud rate " + std::to_string(baud);
    }
    if (dataBits != 7 && dataBits != 8) {
        return "data bits must be 7 or 8";
    }
    if (parity < 0 || parity > 2 || stopBits < 0 || stopBits > 1) {
        return "unsupported parity or stop bits";
    }
    if (!(endSilence > 0 && endSilence <= 3600)) {
        return "the end silence must be more than 0 and at most 3600 seconds";
    }
    return {};
}

const std::vector<LinePreset>& LinePreset::BuiltIn() {
    using Flow = LinePreset::Flow;
    static const std::vector<LinePreset> presets = {
        Make("X4 SERIES simple mode", 115200, 8, 0, Flow::None, ""),
        Make("Older instruments (2400 7E1 XON/XOFF)", 2400, 7, 2, Flow::XonXoff, ""),
        Make("Classic GSI (9600 8N1 XON/XOFF)", 9600, 8, 0, Flow::XonXoff, ""),
        Make("Data loggers (19200 8N1 RTS/CTS)", 19200, 8, 0, Flow::RtsCts, ""),
        Make("Text with end of text (9600 8N1, ETX)", 9600, 8, 0, Flow::None, "\x03"),
    };
    return presets;
}
