#pragma once

#include "platform/CMiniDCB.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings of a line to an instrument that only sends and receives:
// the port parameters, the line end the instrument writes, and how a
// capture from it ends. Kept under a name, so a surveyor picks "the
// settings of that instrument" rather than six numbers.
struct LinePreset {
    enum class Flow { None = 0, XonXoff = 1, RtsCts = 2 };
    enum class LineEnd { CrLf, Cr, Lf };

    std::string name;
    long baud = 9600;
    int dataBits = 8;
    int parity = 0;   // 0 none, 1 odd, 2 even
    int stopBits = 0; // 0 one, 1 two
    Flow flow = Flow::None;
    LineEnd lineEnd = LineEnd::CrLf;
    std::string endMarker; // bytes that end a capture; empty for none
    double endSilence = 5; // seconds of quiet that end a capture once data came

    // The connection parameters for a port (a COM name or a device path).
    CMiniDCB ToDcb(const std::string& port) const;
    std::string_view LineEndBytes() const;

    // One line of the preset file: fields separated by "|", the end marker
    // in hex. Names may hold any character but "|" and line ends.
    std::string ToText() const;
    static std::optional<LinePreset> FromText(std::string_view line);
    // Why the settings cannot be used; empty when they can.
    std::string Problem() const;

    // The presets every installation starts with.
    static const std::vector<LinePreset>& BuiltIn();

    bool operator==(const LinePreset&) const = default;
};
