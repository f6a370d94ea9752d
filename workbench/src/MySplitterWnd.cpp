#include "workbench/MySplitterWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

MySplitterWnd::MySplitterWnd(QWidget* parent) : QWidget(parent) {
    // Moves without a button are needed for the split cursor.
    setMouseTracking(true);
}

void MySplitterWnd::SetPane(int row, int column, QWidget* pane) {
    pane->setParent(this);
    panes_.at(row).at(column) = pane;
    LayoutPanes();
    pane->show();
}

QWidget* MySplitterWnd::GetPane(int row, int column) const {
    return panes_.at(row).at(column);
}

bool MySplitterWnd::PaneIndex(const QWidget* widget, int& row, int& column) const {
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (widget != nullptr && panes_[r][c] == widget) {
                row = r;
                column = c;
                return true;
            }
        }
    }
    return false;
}

int MySplitterWnd::FirstColumnWidth() const {
    const int wanted = firstColumnWidth_ < 0 ? width() / 2 : firstColumnWidth_;
    return std::clamp(wanted, 0, std::max(0, width() - kBarSize));
}

void MySplitterWnd::SetFirstColumnWidth(int width) {
    firstColumnWidth_ = std::max(0, width);
    LayoutPanes();
    update();
}

void MySplitterWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanes();
}

void MySplitterWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, RowBar(), palette(), false, 1, &palette().brush(QPalette::Button));
    qDrawShadePanel(&painter, ColumnBar(), palette(), false, 1, &palette().brush(QPalette::Button));
}

void MySplitterWnd::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || PressIgnored(point.y())) {
        return;
    }
    // The row bar lies wholly inside the ignored band, so only the column
    // bar can start tracking.
    if (BarAt(point) == Bar::Column) {
        tracking_ = true;
        trackOffset_ = point.x() - FirstColumnWidth();
    }
}

void MySplitterWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (MoveIgnored(point.y())) {
        unsetCursor();
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (tracking_) {
        SetFirstColumnWidth(point.x() - trackOffset_);
        return;
    }
    switch (BarAt(point)) {
    case Bar::Column:
        setCursor(Qt::SplitHCursor);
        break;
    case Bar::Row:
        setCursor(Qt::SplitVCursor);
        break;
    case Bar::None:
        unsetCursor();
        break;
    }
}

void MySplitterWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        tracking_ = false;
    }
}

MySplitterWnd::Bar MySplitterWnd::BarAt(QPoint point) const {
    if (ColumnBar().contains(point)) {
        return Bar::Column;
    }
    return RowBar().contains(point) ? Bar::Row : Bar::None;
}

QRect MySplitterWnd::ColumnBar() const {
    return QRect(FirstColumnWidth(), 0, kBarSize, height());
}

QRect MySplitterWnd::RowBar() const {
    return QRect(0, kHeaderRowHeight, width(), kBarSize);
}

void MySplitterWnd::LayoutPanes() {
    const int left = FirstColumnWidth();
    const int right = left + kBarSize;
    const int lower = kHeaderRowHeight + kBarSize;
    const std::array<int, kColumns> x{0, right};
    const std::array<int, kColumns> w{left, std::max(0, width() - right)};
    const std::array<int, kRows> y{0, lower};
    const std::array<int, kRows> h{kHeaderRowHeight, std::max(0, height() - lower)};
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (panes_[r][c] != nullptr) {
                panes_[r][c]->setGeometry(x[c], y[r], w[c], h[r]);
            }
        }
    }
}
