#include "launcher/DialogScale.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

int Scaled(int value, double factor) {
    return static_cast<int>(std::lround(value * factor));
}

} // namespace

DialogScale::DialogScale(double averageCharWidth, double lineHeight)
    : x_(std::max(1.0, averageCharWidth / kReferenceCharWidth)),
      y_(std::max(1.0, lineHeight / kReferenceLineHeight)) {}

DialogScale DialogScale::ForFont(const QFont& font) {
    // The average over the Latin letters, the usual measure for dialog base units.
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetricsF metrics(font);
    return DialogScale(metrics.horizontalAdvance(letters) / letters.size(), metrics.height());
}

QRect DialogScale::Map(const QRect& designed) const {
    // Scale both edges, not the size, so neighbouring controls stay neighbours.
    const int left = Scaled(designed.left(), x_);
    const int top = Scaled(designed.top(), y_);
    const int right = Scaled(designed.left() + designed.width(), x_);
    const int bottom = Scaled(designed.top() + designed.height(), y_);
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogScale::Map(const QSize& designed) const {
    return Map(QRect(QPoint(0, 0), designed)).size();
}
