#pragma once

#include <string>
#include <string_view>
#include <vector>

// The point symbols a code can be drawn with, as strokes in a square from
// -1 to 1: the window's preview and the drawing's blocks use the same
// shapes.
class CodeSymbol {
public:
    struct Point {
        double x;
        double y;
    };
    using Stroke = std::vector<Point>; // an open polyline; closed ones repeat their start

    // "dot", "cross", "plus", "circle", "square", "triangle", "diamond", "star".
    static const std::vector<std::string>& Names();
    static bool IsKnown(std::string_view name);
    // Empty for an unknown name.
    static std::vector<Stroke> Strokes(std::string_view name);
};
