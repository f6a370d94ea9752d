#include "routebook/VerticalProfile.h"

#include <algorithm>

VerticalProfile::VerticalProfile(std::vector<VerticalPoint> points) : points_(std::move(points)) {}

double VerticalProfile::Grade(std::size_t i) const {
    const VerticalPoint& a = points_.at(i);
    const VerticalPoint& b = points_.at(i + 1);
    return b.chainage > a.chainage ? (b.height - a.height) / (b.chainage - a.chainage) : 0;
}

std::optional<VerticalProfile::Level> VerticalProfile::At(double chainage) const {
    constexpr double kSlack = 1e-9;
    if (Empty() || chainage < StartChainage() - kSlack || chainage > EndChainage() + kSlack) {
        return std::nullopt;
    }
    // A curve belongs to its point: inside it the parabola, elsewhere the
    // grade of the stretch the chainage lies on.
    for (std::size_t i = 1; i + 1 < points_.size(); ++i) {
        const VerticalPoint& p = points_[i];
        const double half = p.curveLength / 2;
        if (half > 0 && chainage >= p.chainage - half && chainage <= p.chainage + half) {
            const double gIn = Grade(i - 1);
            const double gOut = Grade(i);
            const double x = chainage - (p.chainage - half);
            const double startHeight = p.height - gIn * half;
            return Level{startHeight + gIn * x + (gOut - gIn) / (2 * p.curveLength) * x * x,
                         gIn + (gOut - gIn) * x / p.curveLength};
        }
    }
    auto it = std::upper_bound(points_.begin(), points_.end(), chainage,
                               [](double c, const VerticalPoint& p) { return c < p.chainage; });
    std::size_t i = static_cast<std::size_t>(std::distance(points_.begin(), it));
    i = std::clamp<std::size_t>(i, 1, points_.size() - 1) - 1;
    const double grade = Grade(i);
    return Level{points_[i].height + grade * (chainage - points_[i].chainage), grade};
}
