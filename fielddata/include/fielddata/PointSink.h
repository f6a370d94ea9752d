#pragma once

#include "fielddata/ExactCoordinates.h"
#include "fielddata/SkippedBlock.h"
#include "fielddata/SurveyPoint.h"

#include <cstddef>
#include <string_view>

// Where the readers of field files hand what they read, in file order.
class PointSink {
public:
    virtual ~PointSink() = default;
    virtual void OnPoint(const SurveyPoint& point) = 0;
    // A point whose coordinates the file gives, with them digit for digit,
    // for sinks that write them back as they were.
    virtual void OnGivenPoint(const SurveyPoint& point, const ExactCoordinates& /*exact*/) {
        OnPoint(point);
    }
    virtual void OnSkipped(const SkippedBlock& block) = 0;
    // A code block: its code applies to the points after it. For sinks that
    // keep every block; the code already comes with each point.
    virtual void OnCode(std::string_view /*code*/, std::size_t /*line*/) {}

protected:
    PointSink() = default;
    PointSink(const PointSink&) = default;
    PointSink& operator=(const PointSink&) = default;
};
