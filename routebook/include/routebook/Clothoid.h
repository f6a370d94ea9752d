#pragma once

// A piece of line whose curvature changes linearly with length: a clothoid,
// and as its limits an arc (constant curvature) and a straight. Bearings
// in radians clockwise from north, curvature positive to the right.
class Clothoid {
public:
    struct Pose {
        double east = 0;
        double north = 0;
        double bearing = 0;
    };

    // startCurvature and endCurvature in 1/m over length metres.
    Clothoid(Pose start, double startCurvature, double endCurvature, double length);

    // The pose s metres along (0 <= s <= length); arcs and straights in
    // closed form, a clothoid by Gauss-Legendre quadrature of the Fresnel
    // integrals in panels short enough to stay far below 0.1 mm.
    Pose At(double s) const;
    double CurvatureAt(double s) const { return k0_ + dk_ * s; }
    double Length() const { return length_; }

private:
    Pose start_;
    double k0_;
    double dk_;
    double length_;
};
