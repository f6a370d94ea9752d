#pragma once

class QPainter;
class QRect;

// The scale bar of a plan: a bar of a round length (1, 2 or 5 times a
// power of ten metres) about a fifth of the view wide, and its length.
class ScaleBar {
public:
    // The largest round length not above metres.
    static double NiceLength(double metres);
    // Drawn in the bottom left corner of area.
    static void Draw(QPainter& painter, const QRect& area, double pixelsPerMetre);
};
