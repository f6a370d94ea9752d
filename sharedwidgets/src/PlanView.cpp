#include "sharedwidgets/PlanView.h"

#include "fielddata/FieldText.h"
#include "sharedwidgets/ScaleBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFitMargin = 24;
constexpr double kWheelStep = 1.25;
constexpr double kClickRadius = 8;
constexpr double kDragThreshold = 3;
constexpr int kMarkRadius = 3;
constexpr int kLegendRows = 12;
constexpr int kDenseDots = 5000; // above this many in view, points are single dots

QString Text(const std::string& bytes) {
    return QString::fromStdU16String(FieldText::ToUtf16(bytes));
}

} // namespace

PlanView::PlanView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
}

void PlanView::SetPoints(std::vector<const SurveyPoint*> points, Fit fit) {
    Clear();
    points_ = std::move(points);
    colours_.reserve(points_.size());
    for (const SurveyPoint* point : points_) {
        colours_.push_back(palette_.IndexOf(point->code));
        extents_.Add(*point);
    }
    if (fit == Fit::All || !userMoved_) {
        FitAll();
    }
}

void PlanView::Clear() {
    points_.clear();
    colours_.clear();
    extents_ = PointExtents();
    palette_.Clear();
    current_ = -1;
    selection_.clear();
    update();
}

void PlanView::FitAll() {
    transform_.Fit(extents_, size(), kFitMargin);
    userMoved_ = false;
    update();
}

void PlanView::SetCurrent(int index) {
    current_ = index >= 0 && index < static_cast<int>(points_.size()) ? index : -1;
    update();
}

void PlanView::SetSelection(std::vector<int> indices) {
    const auto outside = [this](int i) { return i < 0 || i >= static_cast<int>(points_.size()); };
    indices.erase(std::remove_if(indices.begin(), indices.end(), outside), indices.end());
    selection_ = std::move(indices);
    update();
}

std::vector<int> PlanView::VisiblePoints() const {
    const QRectF area =
        QRectF(rect()).adjusted(-kMarkRadius, -kMarkRadius, kMarkRadius, kMarkRadius);
    std::vector<int> visible;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (area.contains(transform_.ToScreen(points_[i]->east, points_[i]->north))) {
            visible.push_back(static_cast<int>(i));
        }
    }
    return visible;
}

void PlanView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<int> visible = VisiblePoints();
    DrawPoints(painter, visible);
    DrawSelection(painter);
    if (static_cast<int>(visible.size()) <= kMaxLabels) {
        DrawLabels(painter, visible);
    }
    DrawLegend(painter);
    if (!points_.empty()) {
        ScaleBar::Draw(painter, rect(), transform_.PixelsPerMetre());
    }
}

// Dots are gathered per colour, so a large job is a dozen calls.
void PlanView::DrawPoints(QPainter& painter, const std::vector<int>& visible) const {
    std::vector<QVector<QPointF>> byColour(palette_.Codes().size());
    for (const int i : visible) {
        byColour[static_cast<std::size_t>(colours_[i])].append(
            transform_.ToScreen(points_[i]->east, points_[i]->north));
    }
    const bool dense = static_cast<int>(visible.size()) > kDenseDots;
    for (std::size_t c = 0; c < byColour.size(); ++c) {
        const QColor colour = palette_.Colour(static_cast<int>(c));
        painter.setPen(QPen(colour, dense ? 2 : 1.5));
        painter.setBrush(dense ? Qt::NoBrush : QBrush(colour.lighter(160)));
        if (dense) {
            painter.drawPoints(byColour[c].data(), static_cast<int>(byColour[c].size()));
            continue;
        }
        for (const QPointF& at : byColour[c]) {
            painter.drawEllipse(at, kMarkRadius, kMarkRadius);
        }
    }
    if (current_ >= 0) {
        painter.setPen(QPen(Qt::red, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(transform_.ToScreen(points_[current_]->east, points_[current_]->north),
                            3 * kMarkRadius, 3 * kMarkRadius);
    }
}

// Many selected points are drawn as dots, as many points are.
void PlanView::DrawSelection(QPainter& painter) const {
    const bool dense = static_cast<int>(selection_.size()) > kDenseDots;
    painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
    painter.setBrush(Qt::NoBrush);
    for (const int i : selection_) {
        const QPointF at = transform_.ToScreen(points_[i]->east, points_[i]->north);
        if (!rect().contains(at.toPoint())) {
            continue;
        }
        if (dense) {
            painter.drawPoint(at);
        } else {
            painter.drawEllipse(at, 2 * kMarkRadius, 2 * kMarkRadius);
        }
    }
}

void PlanView::DrawLabels(QPainter& painter, const std::vector<int>& visible) const {
    painter.setPen(Qt::black);
    const QPointF offset(kMarkRadius + 3, painter.fontMetrics().ascent() / 2.0 - 1);
    for (const int i : visible) {
        const QPointF at = transform_.ToScreen(points_[i]->east, points_[i]->north);
        painter.drawText(at + offset, Text(points_[i]->name));
    }
}

void PlanView::DrawLegend(QPainter& painter) const {
    const auto& codes = palette_.Codes();
    const int line = painter.fontMetrics().height();
    for (int i = 0; i < static_cast<int>(codes.size()) && i < kLegendRows; ++i) {
        const QPoint at(10, 10 + i * line);
        painter.setPen(palette_.Colour(i));
        painter.setBrush(palette_.Colour(i).lighter(160));
        painter.drawEllipse(QPointF(at) + QPointF(kMarkRadius, line / 2.0), kMarkRadius,
                            kMarkRadius);
        painter.setPen(Qt::black);
        const QString name = codes[i].empty() ? tr("(no code)") : Text(codes[i]);
        painter.drawText(at + QPoint(4 * kMarkRadius, painter.fontMetrics().ascent()),
                         i + 1 == kLegendRows && codes.size() > kLegendRows
                             ? tr("%n more codes", nullptr, static_cast<int>(codes.size()) - i)
                             : name);
    }
}

int PlanView::NearestPoint(QPointF pixel) const {
    int nearest = -1;
    double best = kClickRadius * kClickRadius;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const QPointF d = transform_.ToScreen(points_[i]->east, points_[i]->north) - pixel;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

void PlanView::resizeEvent(QResizeEvent* /*event*/) {
    if (userMoved_) {
        transform_.Resize(size());
    } else {
        FitAll();
    }
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    dragFrom_ = event->position();
    dragged_ = false;
}

void PlanView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPointF moved = event->position() - dragFrom_;
    if (!dragged_ && std::hypot(moved.x(), moved.y()) < kDragThreshold) {
        return;
    }
    dragged_ = userMoved_ = true;
    transform_.PanBy(moved);
    dragFrom_ = event->position();
    update();
}

void PlanView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragged_) {
        return;
    }
    const int nearest = NearestPoint(event->position());
    if (nearest >= 0) {
        SetCurrent(nearest);
        emit pointClicked(nearest);
    }
}

void PlanView::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    FitAll();
}

void PlanView::Zoom(QPointF pixel, double factor) {
    transform_.ZoomAbout(pixel, factor);
    userMoved_ = true;
    update();
}

void PlanView::wheelEvent(QWheelEvent* event) {
    Zoom(event->position(), std::pow(kWheelStep, event->angleDelta().y() / 120.0));
}

void PlanView::keyPressEvent(QKeyEvent* event) {
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Home:
        FitAll();
        break;
    case Qt::Key_Plus:
        Zoom(centre, kWheelStep);
        break;
    case Qt::Key_Minus:
        Zoom(centre, 1 / kWheelStep);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
