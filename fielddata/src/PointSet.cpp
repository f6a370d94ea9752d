#include "fielddata/PointSet.h"

void PointSet::OnPoint(const SurveyPoint& point) {
    points_.push_back(point);
    extents_.Add(point);
}

void PointSet::OnSkipped(const SkippedBlock& block) {
    skipped_.push_back(block);
}

// Points and skipped blocks are merged back into line order.
void PointSet::Replay(PointSink& sink) const {
    auto skipped = skipped_.begin();
    for (const SurveyPoint& point : points_) {
        for (; skipped != skipped_.end() && skipped->line < point.line; ++skipped) {
            sink.OnSkipped(*skipped);
        }
        sink.OnPoint(point);
    }
    for (; skipped != skipped_.end(); ++skipped) {
        sink.OnSkipped(*skipped);
    }
}
