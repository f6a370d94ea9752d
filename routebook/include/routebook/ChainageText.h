#pragma once

#include <QString>

// Chainages as a surveyor reads them ("1+234.500") and tick spacings for
// drawings.
class ChainageText {
public:
    // Kilometres "+" metres: 1234.5 as "1+234.500", -12 as "-0+012.000";
    // with places 0, "1+235".
    static QString Station(double chainage, int places = 3);
    static QString Cursor(double chainage, double offset);
    // The smallest of 1, 2, 5 times a power of ten that puts at least
    // minPixels between ticks at pixelsPerMetre.
    static double TickSpacing(double pixelsPerMetre, double minPixels);
};
