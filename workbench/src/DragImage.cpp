#include "workbench/DragImage.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QString>

namespace {
constexpr int kPadding = 2;
constexpr int kIconGap = 3;
} // namespace

DragImage::DragImage(QPixmap picture, QWidget* window)
    : QWidget(OwnWindowFollowsCursor() ? nullptr : window,
              OwnWindowFollowsCursor()
                  ? Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus
                  : Qt::Widget),
      picture_(std::move(picture)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(picture_.deviceIndependentSize().toSize());
    if (!isWindow()) {
        // Drawn inside the window, the picture must not hide the widget
        // under the cursor from the drop's look-up.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        raise();
    }
}

bool DragImage::OwnWindowFollowsCursor() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QPixmap DragImage::Render(const QIcon& icon, const QString& label, QSize iconSize,
                          const QWidget& style) {
    if (icon.isNull() && label.isEmpty()) {
        return {};
    }
    const QFontMetrics metrics(style.font());
    const int iconSpace = icon.isNull() ? 0 : iconSize.width() + kIconGap;
    if (icon.isNull()) {
        iconSize = QSize(0, 0);
    }
    const int height = std::max(iconSize.height(), metrics.height()) + 2 * kPadding;
    const int width = iconSpace + metrics.horizontalAdvance(label) + 2 * kPadding;

    const qreal ratio = style.devicePixelRatioF();
    QPixmap picture(QSize(width, height) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(style.palette().color(QPalette::Highlight));
    QPainter painter(&picture);
    if (!icon.isNull()) {
        icon.paint(&painter, QRect(QPoint(kPadding, (height - iconSize.height()) / 2), iconSize));
    }
    painter.setPen(style.palette().color(QPalette::HighlightedText));
    painter.setFont(style.font());
    painter.drawText(QRect(kPadding + iconSpace, 0, width - iconSpace - kPadding, height),
                     Qt::AlignVCenter | Qt::AlignLeft, label);
    return picture;
}

void DragImage::MoveTo(QPoint global) {
    move((isWindow() ? global : parentWidget()->mapFromGlobal(global)) - kHotSpot);
}

void DragImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, picture_);
}
