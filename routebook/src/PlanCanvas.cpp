#include "routebook/PlanCanvas.h"

#include "routebook/AlignmentDocument.h"
#include "routebook/ChainageText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

QColor KindColour(HalElement::Kind kind) {
    switch (kind) {
    case HalElement::Kind::Arc:
        return QColor(30, 90, 200);
    case HalElement::Kind::Spiral:
        return QColor(220, 120, 0);
    default:
        return QColor(40, 40, 40);
    }
}

} // namespace

PlanCanvas::PlanCanvas(AlignmentDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setMouseTracking(true);
    setMinimumSize(240, 180);
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    connect(document, &AlignmentDocument::Changed, this, &PlanCanvas::Rebuild);
    Rebuild();
}

void PlanCanvas::Rebuild() {
    const bool wasEmpty = line_.Empty();
    line_ = HorizontalAlignment(document_->Hal().Records());
    if (wasEmpty) {
        FitAll();
    }
    update();
}

void PlanCanvas::FitAll() {
    if (line_.Empty()) {
        return;
    }
    double minE = 1e300, maxE = -1e300, minN = 1e300, maxN = -1e300;
    const double length = line_.EndChainage() - line_.StartChainage();
    for (int i = 0; i <= 400; ++i) {
        const auto p = line_.At(line_.StartChainage() + length * i / 400);
        minE = std::min(minE, p->east);
        maxE = std::max(maxE, p->east);
        minN = std::min(minN, p->north);
        maxN = std::max(maxN, p->north);
    }
    centerEast_ = (minE + maxE) / 2;
    centerNorth_ = (minN + maxN) / 2;
    const double span = std::max({maxE - minE, maxN - minN, 1.0});
    scale_ = 0.85 * std::min(width(), height()) / span;
    update();
}

QPointF PlanCanvas::ToScreen(double east, double north) const {
    return {width() / 2.0 + (east - centerEast_) * scale_,
            height() / 2.0 - (north - centerNorth_) * scale_};
}

void PlanCanvas::ShowCursor(double chainage, double offset) {
    cursor_ = HorizontalAlignment::Placement{chainage, offset};
    update();
}

void PlanCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (line_.Empty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("No horizontal alignment"));
        return;
    }
    for (const auto& piece : line_.Pieces()) {
        QPainterPath path;
        const double length = piece.curve.Length();
        const int steps = std::clamp(static_cast<int>(length * scale_ / 3), 1, 2000);
        for (int i = 0; i <= steps; ++i) {
            const auto p = piece.curve.At(length * i / steps);
            const QPointF s = ToScreen(p.east, p.north);
            if (i == 0) {
                path.moveTo(s);
            } else {
                path.lineTo(s);
            }
        }
        painter.setPen(QPen(KindColour(piece.kind), 2.5));
        painter.drawPath(path);
    }
    // Element ends: a bar across the line.
    painter.setPen(QPen(Qt::black, 1.5));
    for (double c : line_.ElementEnds()) {
        const auto a = line_.At(c, -9 / scale_);
        const auto b = line_.At(c, 9 / scale_);
        painter.drawLine(ToScreen(a->east, a->north), ToScreen(b->east, b->north));
    }
    DrawTicks(painter);
    if (cursor_) {
        if (const auto on = line_.At(cursor_->chainage)) {
            const auto off = line_.At(cursor_->chainage, cursor_->offset);
            painter.setPen(QPen(Qt::red, 1.5, Qt::DashLine));
            painter.drawLine(ToScreen(on->east, on->north), ToScreen(off->east, off->north));
            painter.setBrush(Qt::red);
            painter.drawEllipse(ToScreen(on->east, on->north), 3.5, 3.5);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(8, 18), ChainageText::Cursor(cursor_->chainage, cursor_->offset));
    }
}

void PlanCanvas::DrawTicks(QPainter& painter) const {
    const double spacing = ChainageText::TickSpacing(scale_, 70);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    QFont font = painter.font();
    font.setPointSizeF(7.5);
    painter.setFont(font);
    for (double c = std::ceil(line_.StartChainage() / spacing) * spacing; c <= line_.EndChainage();
         c += spacing) {
        const auto a = line_.At(c);
        const auto b = line_.At(c, -6 / scale_);
        const auto t = line_.At(c, -9 / scale_);
        painter.drawLine(ToScreen(a->east, a->north), ToScreen(b->east, b->north));
        painter.drawText(ToScreen(t->east, t->north) + QPointF(-12, 0),
                         ChainageText::Station(c, spacing >= 1 ? 0 : 2));
    }
}

void PlanCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position().toPoint();
    }
}

void PlanCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (dragFrom_) {
        const QPoint delta = at.toPoint() - *dragFrom_;
        centerEast_ -= delta.x() / scale_;
        centerNorth_ += delta.y() / scale_;
        dragFrom_ = at.toPoint();
        update();
        return;
    }
    const double east = centerEast_ + (at.x() - width() / 2.0) / scale_;
    const double north = centerNorth_ - (at.y() - height() / 2.0) / scale_;
    if (const auto placement = line_.Nearest(east, north)) {
        cursor_ = placement;
        update();
        emit CursorMoved(placement->chainage, placement->offset);
    }
}

void PlanCanvas::mouseReleaseEvent(QMouseEvent*) {
    dragFrom_.reset();
}

void PlanCanvas::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    const double east = centerEast_ + (at.x() - width() / 2.0) / scale_;
    const double north = centerNorth_ - (at.y() - height() / 2.0) / scale_;
    scale_ *= std::pow(1.0015, event->angleDelta().y());
    // The point under the mouse stays where it is.
    centerEast_ = east - (at.x() - width() / 2.0) / scale_;
    centerNorth_ = north + (at.y() - height() / 2.0) / scale_;
    update();
}

void PlanCanvas::resizeEvent(QResizeEvent*) {
    if (!line_.Empty() && !dragFrom_) {
        FitAll();
    }
}
