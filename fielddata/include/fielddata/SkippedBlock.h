#pragma once

#include <cstddef>
#include <string>

// A block or line of a field file that gives no point, kept so that it is
// reported rather than silently dropped.
struct SkippedBlock {
    enum class Kind {
        NoCoordinates, // a named block without coordinates or observations
        Other,         // job information and other blocks without a point
        NoDistance,    // an observation without a distance (a backsight, angles only)
        NoStation,     // an observation with no station set-up before it
        Unreadable,    // a line or block that could not be read: reason says why
    };

    Kind kind = Kind::NoCoordinates;
    std::size_t line = 0;
    std::string reason; // Unreadable only
};
