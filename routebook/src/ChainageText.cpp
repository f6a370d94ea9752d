#include "routebook/ChainageText.h"

#include <QObject>

#include <cmath>

QString ChainageText::Station(double chainage) {
    const long long mm = std::llround(std::fabs(chainage) * 1000);
    return QString("%1%2+%3.%4")
        .arg(chainage < 0 && mm != 0 ? "-" : "")
        .arg(mm / 1000000)
        .arg(mm / 1000 % 1000, 3, 10, QChar('0'))
        .arg(mm % 1000, 3, 10, QChar('0'));
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
