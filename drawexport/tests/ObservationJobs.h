#pragma once

#include <optional>
#include <string>
#include <vector>

// GSI jobs of observations, composed here from points at known
// coordinates (not by the program's own writers): station set-ups in mid
// file, targets observed from them with every angle units digit, slope
// distances and horizontal ones (with and without a height difference),
// instrument and target heights, and a point given by its coordinates.
struct KnownPoint {
    std::string name;
    double east = 0;
    double north = 0;
    std::optional<double> height;
    std::string kind; // "station", "computed" or "point"
};

struct ObservationJob {
    std::string text;
    std::vector<KnownPoint> points; // in file order, stations included
};

// width: 8 or 16.
ObservationJob MakeObservationJob(int width, unsigned seed);

// The points as coordbook's point file holds them: name, easting,
// northing, height; stations are lines of the job, not points.
std::vector<KnownPoint> PointFilePoints(const std::string& text);
