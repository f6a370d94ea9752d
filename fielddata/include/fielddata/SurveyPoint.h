#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A point with coordinates as a field file gives it. Name and code keep
// the file's bytes (its code page), without the GSI padding.
struct SurveyPoint {
    enum class Origin : std::uint8_t {
        Given,           // the file holds its coordinates
        Reduced,         // computed from an observation and the station set-up before it
        ReducedFromZero, // computed from a station taken as 0,0,0: the file holds no coordinates
        Station,         // a station set-up
    };

    std::string name;
    std::string code;
    double east = 0;
    double north = 0;
    std::optional<double> height;
    // Decimal places the file gave the coordinates (the most of the three).
    int places = 3;
    // 1-based line of the file the point came from.
    std::size_t line = 0;
    Origin origin = Origin::Given;

    bool Computed() const { return origin == Origin::Reduced || origin == Origin::ReducedFromZero; }
};
