#include "routebook/ProfileCanvas.h"

#include "routebook/AlignmentDocument.h"
#include "routebook/ChainageText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr double kMargin = 36;
}

ProfileCanvas::ProfileCanvas(AlignmentDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setMouseTracking(true);
    setMinimumSize(240, 120);
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    connect(document, &AlignmentDocument::Changed, this, &ProfileCanvas::Rebuild);
    Rebuild();
}

void ProfileCanvas::Rebuild() {
    profile_ = VerticalProfile(document_->Val().Records());
    if (!profile_.Empty()) {
        const auto& points = profile_.Points();
        const auto [lo, hi] = std::minmax_element(
            points.begin(), points.end(),
            [](const VerticalPoint& a, const VerticalPoint& b) { return a.height < b.height; });
        minHeight_ = lo->height;
        maxHeight_ = std::max(hi->height, minHeight_ + 1);
    }
    update();
}

QPointF ProfileCanvas::ToScreen(double chainage, double height) const {
    const double span = std::max(profile_.EndChainage() - profile_.StartChainage(), 1.0);
    const double x =
        kMargin + (chainage - profile_.StartChainage()) / span * (width() - 2 * kMargin);
    const double y = height - minHeight_;
    return {x, this->height() - kMargin -
                   y / (maxHeight_ - minHeight_) * (this->height() - 2 * kMargin)};
}

void ProfileCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (profile_.Empty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("No vertical alignment"));
        return;
    }
    const auto& points = profile_.Points();
    painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = ToScreen(points[i].chainage, points[i].height);
        const QPointF b = ToScreen(points[i + 1].chainage, points[i + 1].height);
        painter.drawLine(a, b);
        painter.drawText((a + b) / 2 + QPointF(-20, -8),
                         QString("%1 %").arg(profile_.Grade(i) * 100, 0, 'f', 2));
    }
    QPainterPath design;
    const int steps = std::max(2, width());
    for (int i = 0; i <= steps; ++i) {
        const double c = profile_.StartChainage() +
                         (profile_.EndChainage() - profile_.StartChainage()) * i / steps;
        const QPointF s = ToScreen(c, profile_.At(c)->height);
        if (i == 0) {
            design.moveTo(s);
        } else {
            design.lineTo(s);
        }
    }
    painter.setPen(QPen(QColor(30, 90, 200), 2.5));
    painter.drawPath(design);
    painter.setPen(QPen(Qt::black, 1));
    for (const VerticalPoint& p : points) {
        const QPointF at = ToScreen(p.chainage, p.height);
        painter.drawEllipse(at, 3, 3);
        if (p.curveLength > 0) {
            const double y = height() - kMargin + 6;
            painter.drawLine(QPointF(ToScreen(p.chainage - p.curveLength / 2, 0).x(), y),
                             QPointF(ToScreen(p.chainage + p.curveLength / 2, 0).x(), y));
        }
        painter.drawText(QPointF(at.x() - 24, height() - 8), ChainageText::Station(p.chainage));
    }
    if (cursor_) {
        const auto level = profile_.At(cursor_->first);
        const double x = ToScreen(cursor_->first, 0).x();
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.drawLine(QPointF(x, kMargin / 2), QPointF(x, height() - kMargin));
        painter.setPen(Qt::black);
        QString text = ChainageText::Cursor(cursor_->first, cursor_->second);
        if (level) {
            text += tr("  Height %1  Grade %2 %")
                        .arg(level->height, 0, 'f', 3)
                        .arg(level->grade * 100, 0, 'f', 2);
        }
        painter.drawText(QPointF(8, 18), text);
    }
}

void ProfileCanvas::ShowCursor(double chainage, double offset) {
    cursor_ = std::make_pair(chainage, offset);
    update();
}

void ProfileCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (profile_.Empty()) {
        return;
    }
    const double span = profile_.EndChainage() - profile_.StartChainage();
    const double chainage =
        std::clamp(profile_.StartChainage() +
                       (event->position().x() - kMargin) / (width() - 2 * kMargin) * span,
                   profile_.StartChainage(), profile_.EndChainage());
    cursor_ = std::make_pair(chainage, 0.0);
    update();
    emit CursorMoved(chainage, 0.0);
}
