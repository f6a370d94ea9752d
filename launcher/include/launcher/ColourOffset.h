#pragma once

#include <QColor>

// Shifts a colour by the same step in red, green and blue, so it gets lighter (positive offset)
// or darker (negative) without changing its hue; the step shrinks so that no part leaves 0..255.
class ColourOffset {
public:
    static QColor Apply(const QColor& colour, int offset);
};
