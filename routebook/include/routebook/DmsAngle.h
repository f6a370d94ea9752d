#pragma once

#include <optional>
#include <string>

// The instrument's angle unit for bearings: sexagesimal degrees written as
// DDD.MMSS (52.3140 is 52 degrees 31 minutes 40 seconds), clockwise from
// grid north.
class DmsAngle {
public:
    // nullopt when the minutes or seconds are 60 or more, or the value is
    // negative.
    static std::optional<double> ToRadians(double dms);
    // Normalised to 0..360 degrees and rounded to the whole second:
    // "52.3140".
    static std::string Format(double radians);
    static double Normalised(double radians);
};
