#include "routebook/ChainageText.h"

#include <QObject>

#include <cmath>

QString ChainageText::Station(double chainage, int places) {
    const double scale = std::pow(10.0, places);
    const long long units = std::llround(std::fabs(chainage) * scale);
    const long long metres = units / static_cast<long long>(scale);
    QString text = QString("%1%2+%3")
                       .arg(chainage < 0 && units != 0 ? "-" : "")
                       .arg(metres / 1000)
                       .arg(metres % 1000, 3, 10, QChar('0'));
    if (places > 0) {
        text += QString(".%1").arg(units % static_cast<long long>(scale), places, 10, QChar('0'));
    }
    return text;
}

QString ChainageText::Cursor(double chainage, double offset) {
    return QObject::tr("Chainage %1  Offset %2 %3")
        .arg(Station(chainage))
        .arg(std::fabs(offset), 0, 'f', 3)
        .arg(offset < 0 ? QObject::tr("left") : QObject::tr("right"));
}

double ChainageText::TickSpacing(double pixelsPerMetre, double minPixels) {
    for (double power = 0.01;; power *= 10) {
        for (double step : {1.0, 2.0, 5.0}) {
            if (step * power * pixelsPerMetre >= minPixels || power > 1e7) {
                return step * power;
            }
        }
    }
}
