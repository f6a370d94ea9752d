#pragma once

#include <optional>
#include <string>
#include <string_view>

// One line of a vertical alignment (".val"): a point of intersection of two
// grades, "PVI,chainage,height,curve length", in metres. A curve length
// above zero rounds the corner with a symmetric parabola of that length
// centred on the point; the first and last points take 0.
struct VerticalPoint {
    double chainage = 0;
    double height = 0;
    double curveLength = 0;

    static std::optional<VerticalPoint> Parse(std::string_view line, std::string& error);
    std::string Format() const;
};
