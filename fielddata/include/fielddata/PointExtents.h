#pragma once

#include "fielddata/SurveyPoint.h"

#include <cstddef>

// The box around a number of points: plan extents, the range of the
// heights that are known, and the most decimal places among them.
class PointExtents {
public:
    void Add(const SurveyPoint& point);
    void Add(const PointExtents& other);

    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    bool HasHeights() const { return heights_ > 0; }
    // How many of the points have a height.
    std::size_t Heights() const { return heights_; }
    double MinEast() const { return minEast_; }
    double MaxEast() const { return maxEast_; }
    double MinNorth() const { return minNorth_; }
    double MaxNorth() const { return maxNorth_; }
    // 0 when no point has a height.
    double MinHeight() const { return HasHeights() ? minHeight_ : 0; }
    double MaxHeight() const { return HasHeights() ? maxHeight_ : 0; }
    int Places() const { return places_; }

private:
    std::size_t count_ = 0;
    std::size_t heights_ = 0;
    double minEast_ = 0;
    double maxEast_ = 0;
    double minNorth_ = 0;
    double maxNorth_ = 0;
    double minHeight_ = 0;
    double maxHeight_ = 0;
    int places_ = 0;
};
