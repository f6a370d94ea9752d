#include "fielddata/PolarReduction.h"

#include <cmath>

std::optional<PolarReduction::Polar> PolarReduction::Of(const GsiBlock::Measurements& measured) {
    if (!measured.horizontalAngle) {
        return std::nullopt;
    }
    Polar polar;
    polar.bearing = *measured.horizontalAngle;
    if (measured.slopeDistance && measured.zenithAngle) {
        polar.horizontalDistance = *measured.slopeDistance * std::sin(*measured.zenithAngle);
        polar.verticalDifference = *measured.slopeDistance * std::cos(*measured.zenithAngle);
        return polar;
    }
    if (!measured.horizontalDistance) {
        return std::nullopt;
    }
    polar.horizontalDistance = *measured.horizontalDistance;
    if (measured.heightDifference) {
        polar.verticalDifference = *measured.heightDifference;
    } else if (measured.zenithAngle && std::sin(*measured.zenithAngle) != 0) {
        polar.verticalDifference = polar.horizontalDistance * std::cos(*measured.zenithAngle) /
                                   std::sin(*measured.zenithAngle);
    }
    return polar;
}

void PolarReduction::Place(const Station& station, double instrumentHeight, double targetHeight,
                           const Polar& polar, SurveyPoint& point) {
    point.east = station.east + polar.horizontalDistance * std::sin(polar.bearing);
    point.north = station.north + polar.horizontalDistance * std::cos(polar.bearing);
    point.height.reset();
    if (station.height && polar.verticalDifference) {
        point.height =
            *station.height + instrumentHeight + *polar.verticalDifference - targetHeight;
    }
    point.places = kPlaces;
}
