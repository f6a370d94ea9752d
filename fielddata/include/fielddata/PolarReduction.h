#pragma once

#include "fielddata/GsiBlock.h"
#include "fielddata/SurveyPoint.h"

#include <optional>

// A polar observation from a station reduced to easting, northing and
// height. The horizontal angle is taken as the bearing (the instrument
// oriented to grid north), the zenith angle from straight up.
class PolarReduction {
public:
    struct Station {
        double east = 0;
        double north = 0;
        std::optional<double> height;
    };

    // What an observation gives on its own, without the station.
    struct Polar {
        double bearing = 0;
        double horizontalDistance = 0;
        // Up from the instrument to the target; nullopt when the block gives
        // no way to it.
        std::optional<double> verticalDifference;
    };

    // Slope distance: hd = sd·sin(V), vertical difference sd·cos(V).
    // Horizontal distance: the height difference word when present, else
    // hd / tan(V). nullopt when the block places nothing.
    static std::optional<Polar> Of(const GsiBlock::Measurements& measured);

    // Fills the point's coordinates: E = E0 + hd·sin(Hz), N = N0 + hd·cos(Hz),
    // H = H0 + hi + vertical difference − ht (no height when the station or
    // the vertical difference has none).
    static void Place(const Station& station, double instrumentHeight, double targetHeight,
                      const Polar& polar, SurveyPoint& point);

    // Places of computed coordinates: a tenth of a millimetre.
    static constexpr int kPlaces = 4;
};
