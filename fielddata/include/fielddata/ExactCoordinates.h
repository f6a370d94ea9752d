#pragma once

#include "fielddata/FixedDecimal.h"
#include "fielddata/SurveyPoint.h"

#include <optional>

// A point's coordinates digit for digit, each with the places its file or
// its user gave it.
struct ExactCoordinates {
    FixedDecimal east{0, 0, false};
    FixedDecimal north{0, 0, false};
    std::optional<FixedDecimal> height;

    // The point's coordinates rounded to the given places; nullopt when one
    // does not fit.
    static std::optional<ExactCoordinates> Of(const SurveyPoint& point, int places);

    // The point's coordinates as numbers, and its places the most of these.
    void Fill(SurveyPoint& point) const;
};
