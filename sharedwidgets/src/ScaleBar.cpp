#include "sharedwidgets/ScaleBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cmath>

namespace {

constexpr double kShareOfWidth = 0.2;
constexpr int kMargin = 12;
constexpr int kTick = 5;

QString LengthText(double metres) {
    if (metres >= 1000) {
        return QStringLiteral("%1 km").arg(metres / 1000);
    }
    if (metres >= 1) {
        return QStringLiteral("%1 m").arg(metres);
    }
    return QStringLiteral("%1 mm").arg(metres * 1000);
}

} // namespace

double ScaleBar::NiceLength(double metres) {
    if (!(metres > 0)) {
        return 0;
    }
    const double power = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * power <= metres * (1 + 1e-12)) {
            return step * power;
        }
    }
    return power;
}

void ScaleBar::Draw(QPainter& painter, const QRect& area, double pixelsPerMetre) {
    const double metres = NiceLength(area.width() * kShareOfWidth / pixelsPerMetre);
    const int length = static_cast<int>(std::lround(metres * pixelsPerMetre));
    if (length < 1) {
        return;
    }
    const QPoint start(area.left() + kMargin, area.bottom() - kMargin);
    const QPoint end = start + QPoint(length, 0);
    painter.save();
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(start, end);
    painter.drawLine(start, start - QPoint(0, kTick));
    painter.drawLine(end, end - QPoint(0, kTick));
    painter.drawText(start + QPoint(0, -kTick - painter.fontMetrics().descent() - 2),
                     LengthText(metres));
    painter.restore();
}
