#pragma once

#include "fielddata/SkippedBlock.h"
#include "fielddata/SurveyPoint.h"

// Where the readers of field files hand what they read, in file order.
class PointSink {
public:
    virtual ~PointSink() = default;
    virtual void OnPoint(const SurveyPoint& point) = 0;
    virtual void OnSkipped(const SkippedBlock& block) = 0;

protected:
    PointSink() = default;
    PointSink(const PointSink&) = default;
    PointSink& operator=(const PointSink&) = default;
};
