#pragma once

#include "routebook/HorizontalAlignment.h"

#include <QWidget>

#include <optional>

class AlignmentDocument;

// The horizontal alignment in plan: the line coloured by element kind,
// element ends marked, chainage ticks with labels at a spacing that suits
// the zoom. Dragging pans, the wheel zooms about the mouse; the mouse's
// chainage and offset go to CursorMoved.
class PlanCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PlanCanvas(AlignmentDocument* document, QWidget* parent = nullptr);

    // The whole line in view.
    void FitAll();
    // A cursor placed from elsewhere (the profile): marked on the line.
    void ShowCursor(double chainage, double offset);
    QPointF ToScreen(double east, double north) const;
    double Scale() const { return scale_; }

signals:
    void CursorMoved(double chainage, double offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild();
    void DrawTicks(class QPainter& painter) const;

    AlignmentDocument* document_;
    HorizontalAlignment line_{{}};
    double scale_ = 1; // pixels per metre
    double centerEast_ = 0;
    double centerNorth_ = 0;
    std::optional<QPoint> dragFrom_;
    std::optional<HorizontalAlignment::Placement> cursor_;
};
