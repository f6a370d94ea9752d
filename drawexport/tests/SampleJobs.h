#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Field files written the way an instrument writes them, composed here
// character by character (not by the program's own writers), with the
// values every point must come out with.

// A coordinate as a GSI length word carries it.
struct SampleValue {
    char units; // '0' mm, '1' ft/1000, '6' mm/10, '7' ft/10000, '8' mm/100
    bool negative;
    std::uint64_t digits;

    int Places() const;
    std::string Text() const; // "-1234.567"
    double Value() const;
};

struct SamplePoint {
    std::string name;
    std::string code;
    SampleValue east;
    SampleValue north;
    std::optional<SampleValue> height;

    int Places() const; // the most of its coordinates'
};

// Points whose coordinate words go through every units digit and both
// signs, names of every width up to the word's, codes changing now and
// then (the first points have none).
std::vector<SamplePoint> SamplePoints(int width);

// A GSI job (width 8 or 16): a code block whenever the code changes, then
// the point block.
std::string GsiJobText(const std::vector<SamplePoint>& points, int width);
// The same points as a point file (".dat").
std::string DatText(const std::vector<SamplePoint>& points);
