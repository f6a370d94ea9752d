// Plan and profile geometry against closed forms: straights, arcs turning
// either way, offsets, spirals joining their neighbours without a kink, and
// the vertical parabola.

#include "routebook/HorizontalAlignment.h"
#include "routebook/VerticalProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kTenthMm = 1e-4;

HalElement Start(double bearing) {
    HalElement e;
    e.kind = HalElement::Kind::Start;
    e.chainage = 100;
    e.east = 1000;
    e.north = 2000;
    e.bearing = bearing;
    return e;
}

TEST(Geometry, StraightsArcsAndOffsetsMatchClosedForms) {
    const double pi = std::numbers::pi;
    struct Case {
        const char* name;
        HalElement element;
        double along;
        double offset;
        double east, north, bearing; // expected, relative to the start
    };
    const double r = 100;
    const Case cases[] = {
        {"straight east", HalElement::Make(HalElement::Kind::Straight, 50), 30, 0, 30, 0, pi / 2},
        {"straight, 5 m right", HalElement::Make(HalElement::Kind::Straight, 50), 30, 5, 30, -5,
         pi / 2},
        {"straight, 5 m left", HalElement::Make(HalElement::Kind::Straight, 50), 30, -5, 30, 5,
         pi / 2},
        {"quarter circle right", HalElement::Make(HalElement::Kind::Arc, r * pi / 2, r), r * pi / 2,
         0, r, -r, pi},
        {"quarter circle left", HalElement::Make(HalElement::Kind::Arc, r * pi / 2, -r), r * pi / 2,
         0, r, r, 0},
        {"arc right, 2 m outside", HalElement::Make(HalElement::Kind::Arc, r * pi / 2, r),
         r * pi / 4, -2, (r + 2) * std::sin(pi / 4), -r + (r + 2) * std::cos(pi / 4), 3 * pi / 4},
    };
    for (const Case& c : cases) {
        const HorizontalAlignment line({Start(pi / 2), c.element});
        const auto p = line.At(100 + c.along, c.offset);
        ASSERT_TRUE(p) << c.name;
        EXPECT_NEAR(p->east - 1000, c.east, kTenthMm) << c.name;
        EXPECT_NEAR(p->north - 2000, c.north, kTenthMm) << c.name;
        EXPECT_NEAR(std::remainder(p->bearing - c.bearing, 2 * pi), 0, 1e-9) << c.name;
        const auto back = line.Nearest(p->east, p->north);
        ASSERT_TRUE(back) << c.name;
        EXPECT_NEAR(back->chainage, 100 + c.along, 1e-4) << c.name;
        EXPECT_NEAR(back->offset, c.offset, 1e-4) << c.name;
    }
    EXPECT_FALSE(
        HorizontalAlignment({Start(0), HalElement::Make(HalElement::Kind::Straight, 5)}).At(105.1));
}

TEST(Geometry, SpiralsTurnByLengthOverTwiceTheRadiusAndMeetTheirArcs) {
    // Entry spiral, arc, exit spiral, both ways round.
    for (const double radius : {350.0, -120.0}) {
        const double ls = 60;
        const double la = 85.5;
        const HorizontalAlignment line({Start(0.3),
                                        HalElement::Make(HalElement::Kind::Spiral, ls, radius),
                                        HalElement::Make(HalElement::Kind::Arc, la, radius),
                                        HalElement::Make(HalElement::Kind::Spiral, ls, radius),
                                        HalElement::Make(HalElement::Kind::Straight, 10)});
        const auto& pieces = line.Pieces();
        ASSERT_EQ(pieces.size(), 4u);
        EXPECT_DOUBLE_EQ(pieces[0].startCurvature, 0);
        EXPECT_DOUBLE_EQ(pieces[0].endCurvature, 1 / radius);
        EXPECT_DOUBLE_EQ(pieces[2].startCurvature, 1 / radius);
        EXPECT_DOUBLE_EQ(pieces[2].endCurvature, 0);
        const double turn = (ls / (2 * radius)) * 2 + la / radius;
        EXPECT_NEAR(line.At(100 + 2 * ls + la)->bearing, 0.3 + turn, 1e-12) << radius;
        // Positions are continuous across every joint.
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            const auto end = pieces[i - 1].curve.At(pieces[i - 1].curve.Length());
            const auto start = pieces[i].curve.At(0);
            EXPECT_NEAR(end.east, start.east, 1e-9);
            EXPECT_NEAR(end.north, start.north, 1e-9);
        }
        // The spirals are mirror images: the chord of each has one length.
        const auto chord = [&](double from, double to) {
            const auto a = line.At(from);
            const auto b = line.At(to);
            return std::hypot(b->east - a->east, b->north - a->north);
        };
        EXPECT_NEAR(chord(100, 100 + ls), chord(100 + ls + la, 100 + 2 * ls + la), kTenthMm);
    }
}

TEST(Geometry, VerticalCurvesAreSymmetricParabolas) {
    // Grades +2 % then -1 %, a 100 m curve on the point at 200.
    const VerticalProfile profile({{0, 50, 0}, {200, 54, 100}, {400, 52, 0}});
    const double g1 = 0.02, g2 = -0.01, l = 100;
    const auto parabola = [&](double x) { return 53 + g1 * x + (g2 - g1) / (2 * l) * x * x; };
    struct Case {
        double chainage, height, grade;
    };
    const Case cases[] = {
        {0, 50, g1},
        {100, 52, g1},
        {150, parabola(0), g1},
        {175, parabola(25), g1 + (g2 - g1) * 25 / l},
        {200, parabola(50), (g1 + g2) / 2},
        {250, parabola(100), g2},
        {300, 53, g2},
        {400, 52, g2},
    };
    for (const Case& c : cases) {
        const auto level = profile.At(c.chainage);
        ASSERT_TRUE(level) << c.chainage;
        EXPECT_NEAR(level->height, c.height, 1e-9) << c.chainage;
        EXPECT_NEAR(level->grade, c.grade, 1e-12) << c.chainage;
    }
    EXPECT_NEAR(profile.At(200)->height, 54 - (g1 - g2) * l / 8, 1e-9); // the middle ordinate
    EXPECT_FALSE(profile.At(400.01));
}

} // namespace
