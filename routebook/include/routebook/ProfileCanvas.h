#pragma once

#include "routebook/VerticalProfile.h"

#include <QWidget>

#include <optional>

class AlignmentDocument;

// The vertical alignment along the chainage: the grades between the points
// (thin, dashed), the design line with its parabolic curves, each point
// marked with its curve's extent and each grade labelled in percent.
// Heights are drawn exaggerated to fill the view. The mouse's chainage goes
// to CursorMoved.
class ProfileCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ProfileCanvas(AlignmentDocument* document, QWidget* parent = nullptr);

    void ShowCursor(double chainage, double offset);
    QPointF ToScreen(double chainage, double height) const;

signals:
    void CursorMoved(double chainage, double offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Rebuild();

    AlignmentDocument* document_;
    VerticalProfile profile_{{}};
    double minHeight_ = 0;
    double maxHeight_ = 1;
    std::optional<std::pair<double, double>> cursor_; // chainage, offset
};
