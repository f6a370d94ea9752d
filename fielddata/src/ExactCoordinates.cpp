#include "fielddata/ExactCoordinates.h"

#include <algorithm>

std::optional<ExactCoordinates> ExactCoordinates::Of(const SurveyPoint& point, int places) {
    const auto east = FixedDecimal::Round(point.east, places);
    const auto north = FixedDecimal::Round(point.north, places);
    std::optional<FixedDecimal> height;
    if (point.height) {
        height = FixedDecimal::Round(*point.height, places);
        if (!height) {
            return std::nullopt;
        }
    }
    if (!east || !north) {
        return std::nullopt;
    }
    return ExactCoordinates{*east, *north, height};
}

void ExactCoordinates::Fill(SurveyPoint& point) const {
    point.east = east.ToDouble();
    point.north = north.ToDouble();
    point.places = std::max(east.Places(), north.Places());
    point.height.reset();
    if (height) {
        point.height = height->ToDouble();
        point.places = std::max(point.places, height->Places());
    }
}
