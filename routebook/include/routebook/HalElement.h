#pragma once

#include <optional>
#include <string>
#include <string_view>

// One line of a horizontal alignment (".hal"):
//   START,chainage,easting,northing,bearing   the line's beginning
//   STRAIGHT,length
//   ARC,length,radius                         radius > 0 turns right, < 0 left
//   SPIRAL,length,radius                      a clothoid between radius and a
//                                             straight (which end: from its
//                                             neighbours)
// Lengths in metres along the line; the bearing in DDD.MMSS (DmsAngle).
struct HalElement {
    enum class Kind { Start, Straight, Arc, Spiral };

    Kind kind = Kind::Straight;
    double chainage = 0; // Start
    double east = 0;     // Start
    double north = 0;    // Start
    double bearing = 0;  // Start, radians clockwise from north
    double length = 0;   // Straight, Arc, Spiral
    double radius = 0;   // Arc, Spiral

    // A STRAIGHT, ARC or SPIRAL.
    static HalElement Make(Kind kind, double length, double radius = 0) {
        HalElement e;
        e.kind = kind;
        e.length = length;
        e.radius = radius;
        return e;
    }
    static std::optional<HalElement> Parse(std::string_view line, std::string& error);
    std::string Format() const;
    static const char* KindName(Kind kind);
    static std::optional<Kind> KindFromName(std::string_view name);
};
