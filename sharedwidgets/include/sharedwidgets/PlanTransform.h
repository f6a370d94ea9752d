#pragma once

#include "fielddata/PointExtents.h"

#include <QPointF>
#include <QSizeF>

// Plan coordinates (easting right, northing up) to the pixels of a view
// and back: a scale in pixels per metre and the plan point at the view's
// centre.
class PlanTransform {
public:
    // Every point of the extents in view, margin pixels from the edges.
    void Fit(const PointExtents& extents, QSizeF viewport, double margin);
    // A new view size keeps the centre and the scale.
    void Resize(QSizeF viewport) { viewport_ = viewport; }
    // The plan point under the given pixel stays there.
    void ZoomAbout(QPointF pixel, double factor);
    void PanBy(QPointF pixels);

    QPointF ToScreen(double east, double north) const;
    // x: easting, y: northing.
    QPointF ToPlan(QPointF pixel) const;
    double PixelsPerMetre() const { return scale_; }

    static constexpr double kMinScale = 1e-6;
    static constexpr double kMaxScale = 1e6;

private:
    double scale_ = 1;
    QPointF centre_;
    QSizeF viewport_;
};
