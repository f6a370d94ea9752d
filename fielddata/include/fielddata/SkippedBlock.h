#pragma once

#include <cstddef>

// A block or line of a field file that gives no point, kept so that it is
// reported rather than silently dropped.
struct SkippedBlock {
    enum class Kind {
        NoCoordinates, // a point with angles and distances only, or without a name's coordinates
        StationSetup,  // station coordinates and instrument height (words 84..88)
        Other,         // job information and other blocks without a point
    };

    Kind kind = Kind::NoCoordinates;
    std::size_t line = 0;
};
