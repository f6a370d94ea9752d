#include "fielddata/PointExtents.h"

#include <algorithm>

void PointExtents::Add(const SurveyPoint& point) {
    PointExtents one;
    one.count_ = 1;
    one.minEast_ = one.maxEast_ = point.east;
    one.minNorth_ = one.maxNorth_ = point.north;
    if (point.height) {
        one.heights_ = 1;
        one.minHeight_ = one.maxHeight_ = *point.height;
    }
    one.places_ = point.places;
    Add(one);
}

void PointExtents::Add(const PointExtents& other) {
    if (other.Empty()) {
        return;
    }
    if (Empty()) {
        *this = other;
        return;
    }
    minEast_ = std::min(minEast_, other.minEast_);
    maxEast_ = std::max(maxEast_, other.maxEast_);
    minNorth_ = std::min(minNorth_, other.minNorth_);
    maxNorth_ = std::max(maxNorth_, other.maxNorth_);
    if (other.HasHeights()) {
        minHeight_ = HasHeights() ? std::min(minHeight_, other.minHeight_) : other.minHeight_;
        maxHeight_ = HasHeights() ? std::max(maxHeight_, other.maxHeight_) : other.maxHeight_;
    }
    count_ += other.count_;
    heights_ += other.heights_;
    places_ = std::max(places_, other.places_);
}
