#pragma once

#include <cstddef>
#include <optional>
#include <string>

// A point with coordinates as a field file gives it. Name and code keep
// the file's bytes (its code page), without the GSI padding.
struct SurveyPoint {
    std::string name;
    std::string code;
    double east = 0;
    double north = 0;
    std::optional<double> height;
    // Decimal places the file gave the coordinates (the most of the three).
    int places = 3;
    // 1-based line of the file the point came from.
    std::size_t line = 0;
};
