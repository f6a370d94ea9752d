#pragma once

#include "routebook/VerticalPoint.h"

#include <optional>
#include <vector>

// The design heights of a vertical alignment: straight grades between the
// points, each corner rounded by a symmetric parabola of its curve length.
class VerticalProfile {
public:
    struct Level {
        double height = 0;
        double grade = 0; // rise per metre
    };

    explicit VerticalProfile(std::vector<VerticalPoint> points);

    bool Empty() const { return points_.size() < 2; }
    double StartChainage() const { return points_.empty() ? 0 : points_.front().chainage; }
    double EndChainage() const { return points_.empty() ? 0 : points_.back().chainage; }
    // nullopt outside the first to the last point's chainage.
    std::optional<Level> At(double chainage) const;
    // The grade from point i to point i + 1.
    double Grade(std::size_t i) const;
    const std::vector<VerticalPoint>& Points() const { return points_; }

private:
    std::vector<VerticalPoint> points_;
};
