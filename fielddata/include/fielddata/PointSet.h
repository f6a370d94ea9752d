#pragma once

#include "fielddata/PointExtents.h"
#include "fielddata/PointSink.h"

#include <vector>

// The points of a field file held in memory, with the blocks that gave
// none, in file order.
class PointSet final : public PointSink {
public:
    void OnPoint(const SurveyPoint& point) override;
    void OnSkipped(const SkippedBlock& block) override;

    const std::vector<SurveyPoint>& Points() const { return points_; }
    const std::vector<SkippedBlock>& Skipped() const { return skipped_; }
    const PointExtents& Extents() const { return extents_; }

    // Hands everything to another sink in the order it came.
    void Replay(PointSink& sink) const;

private:
    std::vector<SurveyPoint> points_;
    std::vector<SkippedBlock> skipped_;
    PointExtents extents_;
};
