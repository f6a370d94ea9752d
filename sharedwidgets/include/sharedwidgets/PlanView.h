#pragma once

#include "fielddata/PointExtents.h"
#include "fielddata/SurveyPoint.h"
#include "sharedwidgets/CodePalette.h"
#include "sharedwidgets/PlanTransform.h"

#include <QWidget>

#include <vector>

// A plan of survey points, easting to the right and northing up: points
// coloured by code with a legend of the codes, names beside the points
// once few enough are in view, a scale bar, and the selected points
// ringed. Drag to pan, turn the
// wheel to zoom about the cursor, double-click or press Home to see every
// point again; a click picks the point nearest to it.
//
// Free of any one program: it shows whatever points it is given.
class PlanView : public QWidget {
    Q_OBJECT

public:
    // After new points: fit the view to them, or keep a view the user
    // has moved (changed points of the same set).
    enum class Fit { All, KeepMoved };

    explicit PlanView(QWidget* parent = nullptr);

    // The points stay the caller's and must live until the next SetPoints
    // or Clear. The current point and the selection are cleared.
    void SetPoints(std::vector<const SurveyPoint*> points, Fit fit = Fit::All);
    void Clear();
    void FitAll();
    // Marks one point (by its index in SetPoints), -1 for none.
    void SetCurrent(int index);
    // Rings these points (indices in SetPoints).
    void SetSelection(std::vector<int> indices);

    const PlanTransform& Transform() const { return transform_; }
    const CodePalette& Palette() const { return palette_; }
    int Current() const { return current_; }
    const std::vector<int>& Selection() const { return selection_; }

    // Names are written beside the points up to this many in view.
    static constexpr int kMaxLabels = 400;

signals:
    void pointClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Indices of the points inside the view.
    std::vector<int> VisiblePoints() const;
    void DrawPoints(QPainter& painter, const std::vector<int>& visible) const;
    void DrawSelection(QPainter& painter) const;
    void DrawLabels(QPainter& painter, const std::vector<int>& visible) const;
    void DrawLegend(QPainter& painter) const;
    int NearestPoint(QPointF pixel) const;
    void Zoom(QPointF pixel, double factor);

    std::vector<const SurveyPoint*> points_;
    std::vector<int> colours_; // palette index per point
    PointExtents extents_;
    CodePalette palette_;
    PlanTransform transform_;
    QPointF dragFrom_;
    bool dragged_ = false;
    bool userMoved_ = false;
    int current_ = -1;
    std::vector<int> selection_;
};
