#pragma once

#include "fielddata/ExactCoordinates.h"

#include <string>

// What the user sees of a point and may change: name and code (bytes in
// the wire code page) and the coordinates digit for digit.
struct PointValues {
    std::string name;
    std::string code;
    ExactCoordinates at;

    bool operator==(const PointValues& other) const {
        return name == other.name && code == other.code && at.east == other.at.east &&
               at.north == other.at.north && at.height == other.at.height;
    }
};
