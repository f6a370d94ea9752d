#include "sharedwidgets/PlanTransform.h"

#include <algorithm>

void PlanTransform::Fit(const PointExtents& extents, QSizeF viewport, double margin) {
    viewport_ = viewport;
    if (extents.Empty()) {
        return;
    }
    centre_ = {(extents.MinEast() + extents.MaxEast()) / 2,
               (extents.MinNorth() + extents.MaxNorth()) / 2};
    const double width = extents.MaxEast() - extents.MinEast();
    const double height = extents.MaxNorth() - extents.MinNorth();
    const double roomX = std::max(1.0, viewport.width() - 2 * margin);
    const double roomY = std::max(1.0, viewport.height() - 2 * margin);
    // Points all on one spot are shown a metre across.
    const double scale =
        std::min(width > 0 ? roomX / width : roomX, height > 0 ? roomY / height : roomY);
    scale_ = std::clamp(scale, kMinScale, kMaxScale);
}

void PlanTransform::ZoomAbout(QPointF pixel, double factor) {
    const QPointF anchor = ToPlan(pixel);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    const QPointF moved = ToPlan(pixel);
    centre_ += anchor - moved;
}

void PlanTransform::PanBy(QPointF pixels) {
    centre_ -= QPointF(pixels.x() / scale_, -pixels.y() / scale_);
}

QPointF PlanTransform::ToScreen(double east, double north) const {
    return {viewport_.width() / 2 + (east - centre_.x()) * scale_,
            viewport_.height() / 2 - (north - centre_.y()) * scale_};
}

QPointF PlanTransform::ToPlan(QPointF pixel) const {
    return {centre_.x() + (pixel.x() - viewport_.width() / 2) / scale_,
            centre_.y() - (pixel.y() - viewport_.height() / 2) / scale_};
}
