#pragma once

#include "routebook/HorizontalAlignment.h"
#include "routebook/VerticalProfile.h"

#include <optional>
#include <vector>

// The points a surveyor stakes out: every multiple of the interval between
// the line's start and end, plus the START and every element end, each on
// the line and at the offsets asked for.
class StationTable {
public:
    struct Station {
        double chainage = 0;
        double offset = 0; // right positive, left negative
        double east = 0;
        double north = 0;
        double bearing = 0; // of the line at the chainage, radians
        std::optional<double> height;
    };

    // More stations than this are refused: an interval typed in the wrong
    // unit would otherwise fill the memory.
    static constexpr double kMaxStations = 1e7;
    // How many multiples of the interval the line holds.
    static double IntervalCount(const HorizontalAlignment& line, double interval);

    // Chainages only, in order, without repeats (a multiple of the interval
    // that falls on an element end within 0.1 mm is the end).
    static std::vector<double> Chainages(const HorizontalAlignment& line, double interval);

    // Per chainage the centre line first, then left and right when asked
    // (distances, both positive; 0 leaves that side out). Heights where the
    // profile reaches.
    static std::vector<Station> Build(const HorizontalAlignment& line,
                                      const VerticalProfile* profile, double interval,
                                      double left = 0, double right = 0);
};
